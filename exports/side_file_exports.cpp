// Entries for the software-house data, the grand-total register, the Anexo
// VI block and the developer's public-key XML file.
#include "UFuncoes/grand_total.h"
#include "UFuncoes/software_house.h"
#include "UPAF/process_state.h"
#include "USignature/public_key_xml.h"
#include "exports/boundary.h"
#include "exports/host_lists.h"
#include "exports/record_entry.h"
#include "quorix.h"

using quorix::boundary::Guarded;
using quorix::boundary::StoreText;
using quorix::boundary::TextArg;
using quorix::boundary::TextArgArray;

extern "C" {

quorix_bool QUORIX_CALL quorix_GenerateDataSoftwareHouse(
    quorix_text cnpj, quorix_text stateRegistration, quorix_text municipalRegistration,
    quorix_text companyName, quorix_text address, quorix_text phone, quorix_text contact,
    quorix_text softwareName, quorix_text softwareVersion, quorix_text mainFile,
    quorix_text mainFileMd5, quorix_text erVersion, quorix_text reportNumber,
    const quorix_text* auxFiles, int32_t auxFilesLast, const quorix_text* auxFilesMd5,
    int32_t auxFilesMd5Last, quorix_text iniFileName) {
  TextArg t0(cnpj), t1(stateRegistration), t2(municipalRegistration), t3(companyName), t4(address),
      t5(phone), t6(contact), t7(softwareName), t8(softwareVersion), t9(mainFile), t10(mainFileMd5),
      t11(erVersion), t12(reportNumber), file(iniFileName);
  return Guarded([&] {
    const TextArgArray files(auxFiles, auxFilesLast), digests(auxFilesMd5, auxFilesMd5Last);
    return quorix::store::GenerateSoftwareHouseData(
        {t0.view(), t1.view(), t2.view(), t3.view(), t4.view(), t5.view(), t6.view(), t7.view(),
         t8.view(), t9.view(), t10.view(), t11.view(), t12.view()},
        files.views(), digests.views(), file.view());
  });
}

quorix_bool QUORIX_CALL quorix_GetDataSoftwareHouse(
    char** cnpj, char** stateRegistration, char** municipalRegistration, char** companyName,
    char** address, char** phone, char** contact, char** softwareName, char** softwareVersion,
    char** mainFile, char** mainFileMd5, char** erVersion, char** reportNumber,
    const quorix_string_list* auxFiles, const quorix_string_list* auxFilesMd5,
    quorix_text iniFileName) {
  TextArg file(iniFileName);
  char** const outs[quorix::store::kShTextCount] = {
      cnpj,        stateRegistration, municipalRegistration, companyName,     address,
      phone,       contact,           softwareName,          softwareVersion, mainFile,
      mainFileMd5, erVersion,         reportNumber};
  return Guarded([&] {
    return quorix::store::GetSoftwareHouseData(
        quorix::upaf::Process().softwareHouse, file.view(),
        [&](const quorix::store::SoftwareHouseData& data) {
          for (int i = 0; i < quorix::store::kShTextCount; ++i) StoreText(outs[i], data.texts[i]);
          quorix::boundary::FillHostList(auxFiles, data.auxFiles);
          quorix::boundary::FillHostList(auxFilesMd5, data.auxFilesMd5);
        });
  });
}

quorix_bool QUORIX_CALL quorix_UpdateTotalizadorGeralECF(quorix_text serialNumber,
                                                         double grandTotal,
                                                         quorix_text iniFileName) {
  TextArg serial(serialNumber), file(iniFileName);
  return Guarded(
      [&] { return quorix::store::UpdateGrandTotal(serial.view(), grandTotal, file.view()); });
}

quorix_bool QUORIX_CALL quorix_GetInfoTotalizadorECF(quorix_text serialNumber, double* grandTotal,
                                                     quorix_text iniFileName) {
  TextArg serial(serialNumber), file(iniFileName);
  return Guarded(
      [&] { return quorix::store::GetGrandTotal(serial.view(), grandTotal, file.view()); });
}

quorix_bool QUORIX_CALL quorix_HeaderAnexoVI(quorix_text recordType, quorix_text serialNumber,
                                             quorix_text mfAdditional, quorix_text ecfType,
                                             quorix_text ecfBrand, quorix_text ecfModel,
                                             quorix_text firmwareVersion, double firmwareDate,
                                             double firmwareTime, int32_t ecfOrderNumber,
                                             quorix_text softwareHouseFile, double periodStart,
                                             double periodEnd, quorix_text versionCode) {
  return quorix::boundary::Build<quorix::upaf::RecordId::AnexoVI>(
      recordType, serialNumber, mfAdditional, ecfType, ecfBrand, ecfModel, firmwareVersion,
      firmwareDate, firmwareTime, ecfOrderNumber, softwareHouseFile, periodStart, periodEnd,
      versionCode);
}

quorix_bool QUORIX_CALL quorix_GenarateFileXml(quorix_text developerName, quorix_text modulus,
                                               quorix_text folder, quorix_text publicExponent) {
  TextArg name(developerName), mod(modulus), dir(folder), exponent(publicExponent);
  return Guarded([&] {
    return quorix::sig::GeneratePublicKeyXml(name.view(), mod.view(), dir.view(), exponent.view());
  });
}

}  // extern "C"
