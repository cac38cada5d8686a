package quorix;

import com.sun.jna.Function;
import com.sun.jna.Library;
import com.sun.jna.Native;
import com.sun.jna.NativeLibrary;
import com.sun.jna.Platform;
import com.sun.jna.Pointer;
import com.sun.jna.win32.StdCallLibrary;
import java.util.Map;

// The library's 25 exports with the library's own types, bound directly
// (JNA direct mapping): a text is a Pointer to its first byte, an out-text a
// Pointer to the variable holding one, a character or boolean an int slot,
// a boolean result one byte. Parameter names and order are the header's.
final class Exports {
  // stdcall only exists on 32-bit Windows; everywhere else the C convention.
  static final boolean STDCALL = Platform.isWindows() && !Platform.is64Bit();

  static {
    Map<String, Object> options = Map.of(Library.OPTION_CALLING_CONVENTION,
        STDCALL ? StdCallLibrary.STDCALL_CONVENTION : Function.C_CONVENTION);
    Native.register(Exports.class, NativeLibrary.getInstance("quorix", options));
  }

  private Exports() {}

  static native byte quorix_InicializarPAF(Pointer cnpjCpf, Pointer stateRegistration,
      Pointer municipalRegistration, Pointer companyName);
  static native byte quorix_FinalizarPAF(
      Pointer publicKey, Pointer privateKey, Pointer fileName, int signOnly);
  static native void quorix_GetMessageError(Pointer message);
  static native byte quorix_Header(Pointer recordType);
  static native byte quorix_RelacaoDavEmitido(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfType, Pointer ecfBrand, Pointer ecfModel, int coo,
      Pointer davNumber, double davDate, Pointer davTitle, double davTotal);
  static native byte quorix_RelacaoMercadoriaEstoque(Pointer recordType, Pointer productCode,
      Pointer productDescription, Pointer unitOfMeasure, double stockQuantity, double stockDate);
  static native byte quorix_RelacaoMercadoriaServicos(Pointer recordType, Pointer productCode,
      Pointer productDescription, Pointer unitOfMeasure, int roundingIndicator,
      int productionIndicator, int taxSituation, double taxRate, double unitPrice);
  static native byte quorix_Totally(Pointer recordType, Pointer countedType);
  static native byte quorix_RelacaoReducoesZ(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfModel, Pointer userNumber, Pointer crz, Pointer coo,
      Pointer cro, double movementDate, double issueDate, double issueTime, double grossSales,
      Pointer issqnDiscountFlag);
  static native byte quorix_DetalheReducaoZ(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfModel, Pointer userNumber, Pointer crz,
      Pointer totalizerCode, double accumulatedValue);
  static native byte quorix_RelacaoMovimentoDiario(Pointer recordType, double movementDay,
      Pointer longCode, Pointer shortCode, Pointer firstNumber, Pointer secondNumber,
      Pointer serialNumber, Pointer thirdNumber, Pointer fourCharCode, double accountingValue,
      double taxBase, double taxRate, double taxAmount, double exemptAmount, double otherAmount);
  static native byte quorix_RelacaoCupomFiscal(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfModel, Pointer userNumber, Pointer ccf, Pointer coo,
      double issueStartDate, double subtotal, double subtotalDiscount, int discountKind,
      double subtotalIncrease, int increaseKind, double netTotal, int cancelIndicator,
      double cancelledIncrease, int adjustmentOrder, Pointer buyerName, Pointer buyerId);
  static native byte quorix_DetalheCupomFiscal(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfModel, Pointer userNumber, Pointer coo, Pointer ccf,
      Pointer itemNumber, Pointer productCode, Pointer productDescription, double quantity,
      Pointer unitOfMeasure, double unitValue, double itemDiscount, double itemIncrease,
      double netTotal, Pointer totalizerCode, int cancelIndicator, double cancelledQuantity,
      double cancelledValue, double cancelledIncrease, int roundingIndicator,
      int productionIndicator, int quantityDecimals, int unitValueDecimals);
  static native byte quorix_RelacaoDemaisDoctosEcf(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfModel, Pointer userNumber, Pointer coo, Pointer gnf,
      Pointer grg, Pointer cdc, Pointer documentSymbol, double issueEndDate, double issueEndTime);
  static native byte quorix_DetalheDemaisDoctosEcf(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfModel, Pointer userNumber, Pointer coo, Pointer ccf,
      Pointer gnf, Pointer paymentMethod, double amountPaid, int reversalIndicator,
      double reversedAmount);
  static native byte quorix_GenerateKeys(Pointer publicKey, Pointer privateKey);
  static native byte quorix_SignatureFileHash(
      Pointer publicKey, Pointer privateKey, Pointer fileName);
  static native byte quorix_ValidateFilePAF(
      Pointer publicKey, Pointer privateKey, Pointer fileName);
  static native void quorix_GenerateMD5(Pointer digest, Pointer input);
  static native byte quorix_GenerateDataSoftwareHouse(Pointer cnpj, Pointer stateRegistration,
      Pointer municipalRegistration, Pointer companyName, Pointer address, Pointer phone,
      Pointer contact, Pointer softwareName, Pointer softwareVersion, Pointer mainFile,
      Pointer mainFileMd5, Pointer erVersion, Pointer reportNumber, Pointer auxFiles,
      int auxFilesLast, Pointer auxFilesMd5, int auxFilesMd5Last, Pointer iniFileName);
  static native byte quorix_GetDataSoftwareHouse(Pointer cnpj, Pointer stateRegistration,
      Pointer municipalRegistration, Pointer companyName, Pointer address, Pointer phone,
      Pointer contact, Pointer softwareName, Pointer softwareVersion, Pointer mainFile,
      Pointer mainFileMd5, Pointer erVersion, Pointer reportNumber, Pointer auxFiles,
      Pointer auxFilesMd5, Pointer iniFileName);
  static native byte quorix_UpdateTotalizadorGeralECF(
      Pointer serialNumber, double grandTotal, Pointer iniFileName);
  static native byte quorix_GetInfoTotalizadorECF(
      Pointer serialNumber, Pointer grandTotal, Pointer iniFileName);
  static native byte quorix_HeaderAnexoVI(Pointer recordType, Pointer serialNumber,
      Pointer mfAdditional, Pointer ecfType, Pointer ecfBrand, Pointer ecfModel,
      Pointer firmwareVersion, double firmwareDate, double firmwareTime, int ecfOrderNumber,
      Pointer softwareHouseFile, double periodStart, double periodEnd, Pointer versionCode);
  static native byte quorix_GenarateFileXml(
      Pointer developerName, Pointer modulus, Pointer folder, Pointer publicExponent);
}
