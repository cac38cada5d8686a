// quorix for C# hosts (.NET Framework 4 and .NET 6+): the 32-bit Windows
// quorix.dll (run the host as an x86 process) and the x86-64 Linux
// libquorix.so. A host writes `using Quorix;` and then `Paf.Header("E1")`.
//
// Every method mirrors the export of the same name without "quorix_", with
// the same parameters in the same order. Texts are strings; they cross as
// Windows-1252, and a character Windows-1252 cannot hold is refused with an
// ArgumentException before the library is called. Results are true on
// success; after false, Paf.GetMessageError() gives the library's reason.
//
// The library's texts are not .NET strings: they carry an 8-byte header (a
// reference count and a length) in front of the bytes and come from the C
// heap. This class builds every text it passes in that form, copies every
// text it receives and hands the library's block back to the C heap at once
// (msvcrt.dll's free on Windows, libc's on Linux). The two list callbacks
// catch every exception, so none ever unwinds through the library.
using System;
using System.Collections.Generic;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;

namespace Quorix {

/// <summary>
/// The library's 25 exports, one method each, named after the export without
/// "quorix_", with its parameters in the same order. Texts are strings crossing
/// as Windows-1252 (a character it cannot hold throws <see cref="ArgumentException"/>
/// before the library is called); dates and times are <see cref="DateTime"/>.
/// The library keeps one open report and one last message per process.
/// </summary>
public static class Paf {
  // ---- Opening, finishing and error reporting of a report ----

  /// <summary>Opens a report for the taxpayer, discarding any report still open.</summary>
  /// <param name="cnpjCpf">The taxpayer's CNPJ or CPF, with or without punctuation.</param>
  /// <param name="stateRegistration">Inscrição estadual; may be empty.</param>
  /// <param name="municipalRegistration">Inscrição municipal; may be empty.</param>
  /// <param name="companyName">Razão social.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool InicializarPAF(string cnpjCpf, string stateRegistration,
                                    string municipalRegistration, string companyName) {
    using (var t = new CallTexts(cnpjCpf, stateRegistration, municipalRegistration, companyName))
      return Native.quorix_InicializarPAF(t[0], t[1], t[2], t[3]) != 0;
  }

  /// <summary>Writes the open report's lines to a file (CR LF ends each), signs it and closes the report.</summary>
  /// <param name="publicKey">The developer's public key, as <see cref="GenerateKeys"/> gives it.</param>
  /// <param name="privateKey">The developer's private key.</param>
  /// <param name="fileName">The report file, replaced whole.</param>
  /// <param name="signOnly">true: sign the file as it stands, writing no lines.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool FinalizarPAF(string publicKey, string privateKey, string fileName,
                                  bool signOnly) {
    using (var t = new CallTexts(publicKey, privateKey, fileName))
      return Native.quorix_FinalizarPAF(t[0], t[1], t[2], Slot(signOnly)) != 0;
  }

  /// <summary>The reason of the last call that failed, in Portuguese; empty after a success.</summary>
  /// <returns>The message, as the library wrote it (it may hold CR LF).</returns>
  public static string GetMessageError() {
    IntPtr message = IntPtr.Zero;
    Native.quorix_GetMessageError(ref message);
    return Take(ref message);
  }

  // ---- Record builders: one line each, in the order the lines stand in the file ----

  /// <summary>Adds the report's header line of the given record type (such as "E1").</summary>
  /// <param name="recordType">The record type, two characters.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool Header(string recordType) {
    using (var t = new CallTexts(recordType)) return Native.quorix_Header(t[0]) != 0;
  }

  /// <summary>Adds the header line of an Anexo VI report (E01): the ECF, its firmware and the period.</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool HeaderAnexoVI(string recordType, string serialNumber, string mfAdditional,
                                   string ecfType, string ecfBrand, string ecfModel,
                                   string firmwareVersion, DateTime firmwareDate,
                                   DateTime firmwareTime, int ecfOrderNumber,
                                   string softwareHouseFile, DateTime periodStart,
                                   DateTime periodEnd, string versionCode) {
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfType, ecfBrand,
                                 ecfModel, firmwareVersion, softwareHouseFile, versionCode))
      return Native.quorix_HeaderAnexoVI(t[0], t[1], t[2], t[3], t[4], t[5], t[6],
                                         Day(firmwareDate), Day(firmwareTime), ecfOrderNumber,
                                         t[7], Day(periodStart), Day(periodEnd), t[8]) != 0;
  }

  /// <summary>Adds the totals line that counts the lines of one record type.</summary>
  /// <param name="recordType">The totals record type, such as "E9" or "T9".</param>
  /// <param name="countedType">The record type whose lines are counted.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool Totally(string recordType, string countedType) {
    using (var t = new CallTexts(recordType, countedType))
      return Native.quorix_Totally(t[0], t[1]) != 0;
  }

  /// <summary>Adds a line of the DAVs issued (D2).</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool RelacaoDavEmitido(string recordType, string serialNumber,
                                       string mfAdditional, string ecfType, string ecfBrand,
                                       string ecfModel, int coo, string davNumber,
                                       DateTime davDate, string davTitle, double davTotal) {
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfType, ecfBrand,
                                 ecfModel, davNumber, davTitle))
      return Native.quorix_RelacaoDavEmitido(t[0], t[1], t[2], t[3], t[4], t[5], coo, t[6],
                                             Day(davDate), t[7], davTotal) != 0;
  }

  /// <summary>Adds a line of goods in stock (E2); a negative quantity is written with its sign.</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool RelacaoMercadoriaEstoque(string recordType, string productCode,
                                              string productDescription, string unitOfMeasure,
                                              double stockQuantity, DateTime stockDate) {
    using (var t = new CallTexts(recordType, productCode, productDescription, unitOfMeasure))
      return Native.quorix_RelacaoMercadoriaEstoque(t[0], t[1], t[2], t[3], stockQuantity,
                                                    Day(stockDate)) != 0;
  }

  /// <summary>Adds a line of the goods and services table (P2). Rounding 'A' or 'T', production 'P' or 'T', tax situation 'F', 'I', 'N', 'S' or 'T'.</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool RelacaoMercadoriaServicos(string recordType, string productCode,
                                               string productDescription, string unitOfMeasure,
                                               char roundingIndicator, char productionIndicator,
                                               char taxSituation, double taxRate,
                                               double unitPrice) {
    uint rounding = Slot(roundingIndicator), production = Slot(productionIndicator);
    uint situation = Slot(taxSituation);
    using (var t = new CallTexts(recordType, productCode, productDescription, unitOfMeasure))
      return Native.quorix_RelacaoMercadoriaServicos(t[0], t[1], t[2], t[3], rounding,
                                                     production, situation, taxRate,
                                                     unitPrice) != 0;
  }

  /// <summary>Adds a Reduction Z line (R02).</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool RelacaoReducoesZ(string recordType, string serialNumber, string mfAdditional,
                                      string ecfModel, string userNumber, string crz, string coo,
                                      string cro, DateTime movementDate, DateTime issueDate,
                                      DateTime issueTime, double grossSales,
                                      string issqnDiscountFlag) {
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfModel, userNumber,
                                 crz, coo, cro, issqnDiscountFlag))
      return Native.quorix_RelacaoReducoesZ(t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7],
                                            Day(movementDate), Day(issueDate), Day(issueTime),
                                            grossSales, t[8]) != 0;
  }

  /// <summary>Adds a Reduction Z detail line (R03): one totalizer's accumulated value.</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool DetalheReducaoZ(string recordType, string serialNumber, string mfAdditional,
                                     string ecfModel, string userNumber, string crz,
                                     string totalizerCode, double accumulatedValue) {
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfModel, userNumber,
                                 crz, totalizerCode))
      return Native.quorix_DetalheReducaoZ(t[0], t[1], t[2], t[3], t[4], t[5], t[6],
                                           accumulatedValue) != 0;
  }

  /// <summary>Adds a fiscal coupon line (E14).</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool RelacaoCupomFiscal(string recordType, string serialNumber,
                                        string mfAdditional, string ecfModel, string userNumber,
                                        string ccf, string coo, DateTime issueStartDate,
                                        double subtotal, double subtotalDiscount,
                                        char discountKind, double subtotalIncrease,
                                        char increaseKind, double netTotal, char cancelIndicator,
                                        double cancelledIncrease, char adjustmentOrder,
                                        string buyerName, string buyerId) {
    uint discount = Slot(discountKind), increase = Slot(increaseKind);
    uint cancel = Slot(cancelIndicator), order = Slot(adjustmentOrder);
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfModel, userNumber,
                                 ccf, coo, buyerName, buyerId))
      return Native.quorix_RelacaoCupomFiscal(t[0], t[1], t[2], t[3], t[4], t[5], t[6],
                                              Day(issueStartDate), subtotal, subtotalDiscount,
                                              discount, subtotalIncrease, increase, netTotal,
                                              cancel, cancelledIncrease, order, t[7],
                                              t[8]) != 0;
  }

  /// <summary>Adds a fiscal coupon item line (E15).</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool DetalheCupomFiscal(string recordType, string serialNumber,
                                        string mfAdditional, string ecfModel, string userNumber,
                                        string coo, string ccf, string itemNumber,
                                        string productCode, string productDescription,
                                        double quantity, string unitOfMeasure, double unitValue,
                                        double itemDiscount, double itemIncrease,
                                        double netTotal, string totalizerCode,
                                        char cancelIndicator, double cancelledQuantity,
                                        double cancelledValue, double cancelledIncrease,
                                        char roundingIndicator, char productionIndicator,
                                        int quantityDecimals, int unitValueDecimals) {
    uint cancel = Slot(cancelIndicator), rounding = Slot(roundingIndicator);
    uint production = Slot(productionIndicator);
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfModel, userNumber,
                                 coo, ccf, itemNumber, productCode, productDescription,
                                 unitOfMeasure, totalizerCode))
      return Native.quorix_DetalheCupomFiscal(
                 t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], quantity, t[10],
                 unitValue, itemDiscount, itemIncrease, netTotal, t[11], cancel,
                 cancelledQuantity, cancelledValue, cancelledIncrease, rounding, production,
                 quantityDecimals, unitValueDecimals) != 0;
  }

  /// <summary>Adds a line of another document the ECF issued (E16).</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool RelacaoDemaisDoctosEcf(string recordType, string serialNumber,
                                            string mfAdditional, string ecfModel,
                                            string userNumber, string coo, string gnf,
                                            string grg, string cdc, string documentSymbol,
                                            DateTime issueEndDate, DateTime issueEndTime) {
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfModel, userNumber,
                                 coo, gnf, grg, cdc, documentSymbol))
      return Native.quorix_RelacaoDemaisDoctosEcf(t[0], t[1], t[2], t[3], t[4], t[5], t[6],
                                                  t[7], t[8], t[9], Day(issueEndDate),
                                                  Day(issueEndTime)) != 0;
  }

  /// <summary>Adds a payment line of a document the ECF issued (E21).</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool DetalheDemaisDoctosEcf(string recordType, string serialNumber,
                                            string mfAdditional, string ecfModel,
                                            string userNumber, string coo, string ccf,
                                            string gnf, string paymentMethod, double amountPaid,
                                            char reversalIndicator, double reversedAmount) {
    uint reversal = Slot(reversalIndicator);
    using (var t = new CallTexts(recordType, serialNumber, mfAdditional, ecfModel, userNumber,
                                 coo, ccf, gnf, paymentMethod))
      return Native.quorix_DetalheDemaisDoctosEcf(t[0], t[1], t[2], t[3], t[4], t[5], t[6],
                                                  t[7], t[8], amountPaid, reversal,
                                                  reversedAmount) != 0;
  }

  /// <summary>Adds a daily movement line (E22).</summary>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool RelacaoMovimentoDiario(string recordType, DateTime movementDay,
                                            string longCode, string shortCode,
                                            string firstNumber, string secondNumber,
                                            string serialNumber, string thirdNumber,
                                            string fourCharCode, double accountingValue,
                                            double taxBase, double taxRate, double taxAmount,
                                            double exemptAmount, double otherAmount) {
    using (var t = new CallTexts(recordType, longCode, shortCode, firstNumber, secondNumber,
                                 serialNumber, thirdNumber, fourCharCode))
      return Native.quorix_RelacaoMovimentoDiario(t[0], Day(movementDay), t[1], t[2], t[3],
                                                  t[4], t[5], t[6], t[7], accountingValue,
                                                  taxBase, taxRate, taxAmount, exemptAmount,
                                                  otherAmount) != 0;
  }

  // ---- Key material, signing and validation ----

  /// <summary>Makes a new key pair for the developer.</summary>
  /// <param name="publicKey">The public key: 256 hexadecimal digits.</param>
  /// <param name="privateKey">The private key: 256 hexadecimal digits.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool GenerateKeys(out string publicKey, out string privateKey) {
    IntPtr pub = IntPtr.Zero, priv = IntPtr.Zero;
    try {
      bool ok = Native.quorix_GenerateKeys(ref pub, ref priv) != 0;
      publicKey = Copy(pub);
      privateKey = Copy(priv);
      return ok;
    } finally {
      Release(ref pub);
      Release(ref priv);
    }
  }

  /// <summary>Signs an existing file: appends its signature line.</summary>
  /// <param name="publicKey">The developer's public key.</param>
  /// <param name="privateKey">The developer's private key.</param>
  /// <param name="fileName">The file to sign.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool SignatureFileHash(string publicKey, string privateKey, string fileName) {
    using (var t = new CallTexts(publicKey, privateKey, fileName))
      return Native.quorix_SignatureFileHash(t[0], t[1], t[2]) != 0;
  }

  /// <summary>Checks a signed file's signature line against its contents.</summary>
  /// <param name="publicKey">The developer's public key.</param>
  /// <param name="privateKey">The developer's private key.</param>
  /// <param name="fileName">The signed file.</param>
  /// <returns>true when the signature matches; false otherwise, with the reason in <see cref="GetMessageError"/>.</returns>
  public static bool ValidateFilePAF(string publicKey, string privateKey, string fileName) {
    using (var t = new CallTexts(publicKey, privateKey, fileName))
      return Native.quorix_ValidateFilePAF(t[0], t[1], t[2]) != 0;
  }

  /// <summary>The export of this name computes no digest: it hands its input back unchanged.</summary>
  /// <param name="input">The text.</param>
  /// <returns><paramref name="input"/>, as the library returned it.</returns>
  public static string GenerateMD5(string input) {
    IntPtr digest = IntPtr.Zero;
    using (var t = new CallTexts(input)) Native.quorix_GenerateMD5(ref digest, t[0]);
    return Take(ref digest);
  }

  // ---- Side files. A null list is an empty list (GenerateDataSoftwareHouse)
  // or a list not asked for (GetDataSoftwareHouse). ----

  /// <summary>Writes the software house's scrambled side file: its identification, the program's, and the auxiliary files with their MD5 digests.</summary>
  /// <remarks>A null list is an empty list.</remarks>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool GenerateDataSoftwareHouse(
      string cnpj, string stateRegistration, string municipalRegistration, string companyName,
      string address, string phone, string contact, string softwareName, string softwareVersion,
      string mainFile, string mainFileMd5, string erVersion, string reportNumber,
      IList<string> auxFiles, IList<string> auxFilesMd5, string iniFileName) {
    using (var files = new TextArray(auxFiles))
    using (var digests = new TextArray(auxFilesMd5))
    using (var t = new CallTexts(cnpj, stateRegistration, municipalRegistration, companyName,
                                 address, phone, contact, softwareName, softwareVersion,
                                 mainFile, mainFileMd5, erVersion, reportNumber, iniFileName))
      return Native.quorix_GenerateDataSoftwareHouse(
                 t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8], t[9], t[10], t[11], t[12],
                 files.First, files.Last, digests.First, digests.Last, t[13]) != 0;
  }

  /// <summary>Reads the software house's side file back: the thirteen texts, and the two lists filled in order.</summary>
  /// <remarks>A null list is one not asked for. An exception of a list fails the call with its message.</remarks>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool GetDataSoftwareHouse(
      out string cnpj, out string stateRegistration, out string municipalRegistration,
      out string companyName, out string address, out string phone, out string contact,
      out string softwareName, out string softwareVersion, out string mainFile,
      out string mainFileMd5, out string erVersion, out string reportNumber,
      IList<string> auxFiles, IList<string> auxFilesMd5, string iniFileName) {
    var v = new IntPtr[13];
    try {
      bool ok;
      using (var files = new HostList(auxFiles))
      using (var digests = new HostList(auxFilesMd5))
      using (var t = new CallTexts(iniFileName))
        ok = Native.quorix_GetDataSoftwareHouse(
                 ref v[0], ref v[1], ref v[2], ref v[3], ref v[4], ref v[5], ref v[6], ref v[7],
                 ref v[8], ref v[9], ref v[10], ref v[11], ref v[12], files.Pointer,
                 digests.Pointer, t[0]) != 0;
      cnpj = Copy(v[0]);
      stateRegistration = Copy(v[1]);
      municipalRegistration = Copy(v[2]);
      companyName = Copy(v[3]);
      address = Copy(v[4]);
      phone = Copy(v[5]);
      contact = Copy(v[6]);
      softwareName = Copy(v[7]);
      softwareVersion = Copy(v[8]);
      mainFile = Copy(v[9]);
      mainFileMd5 = Copy(v[10]);
      erVersion = Copy(v[11]);
      reportNumber = Copy(v[12]);
      return ok;
    } finally {
      for (int i = 0; i < v.Length; ++i) Release(ref v[i]);
    }
  }

  /// <summary>Stores an ECF's grand total in the scrambled grand-total side file.</summary>
  /// <param name="serialNumber">The ECF's serial number.</param>
  /// <param name="grandTotal">The grand total, in currency units.</param>
  /// <param name="iniFileName">The side file, made when missing.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool UpdateTotalizadorGeralECF(string serialNumber, double grandTotal,
                                               string iniFileName) {
    using (var t = new CallTexts(serialNumber, iniFileName))
      return Native.quorix_UpdateTotalizadorGeralECF(t[0], grandTotal, t[1]) != 0;
  }

  /// <summary>Reads an ECF's grand total from the grand-total side file.</summary>
  /// <param name="serialNumber">The ECF's serial number.</param>
  /// <param name="grandTotal">The grand total stored; 0 on failure.</param>
  /// <param name="iniFileName">The side file.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool GetInfoTotalizadorECF(string serialNumber, out double grandTotal,
                                           string iniFileName) {
    grandTotal = 0;
    using (var t = new CallTexts(serialNumber, iniFileName))
      return Native.quorix_GetInfoTotalizadorECF(t[0], ref grandTotal, t[1]) != 0;
  }

  // ---- The developer's public-key file; the export is spelled "Genarate". ----

  /// <summary>Writes the developer's public-key file, "DEVELOPER.xml", into a folder (the export's own spelling).</summary>
  /// <param name="developerName">The developer's name, also the file's name.</param>
  /// <param name="modulus">The public key, as <see cref="GenerateKeys"/> gives it.</param>
  /// <param name="folder">The folder the file is written into.</param>
  /// <param name="publicExponent">The public exponent, in hexadecimal.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool GenarateFileXml(string developerName, string modulus, string folder,
                                     string publicExponent) {
    using (var t = new CallTexts(developerName, modulus, folder, publicExponent))
      return Native.quorix_GenarateFileXml(t[0], t[1], t[2], t[3]) != 0;
  }

  /// <summary>The same as <see cref="GenarateFileXml"/>, spelled in English.</summary>
  /// <param name="developerName">The developer's name, also the file's name.</param>
  /// <param name="modulus">The public key, as <see cref="GenerateKeys"/> gives it.</param>
  /// <param name="folder">The folder the file is written into.</param>
  /// <param name="publicExponent">The public exponent, in hexadecimal.</param>
  /// <returns>true on success; after false, <see cref="GetMessageError"/> gives the reason.</returns>
  public static bool GenerateFileXml(string developerName, string modulus, string folder,
                                     string publicExponent) {
    return GenarateFileXml(developerName, modulus, folder, publicExponent);
  }

  // ---- Arguments ----

  static uint Slot(bool value) { return value ? 1u : 0u; }

  static uint Slot(char value) {
    int b = Win1252.ByteOf(value);
    if (b < 0) throw Win1252.Refusal(value);
    return (uint)b;
  }

  // Days since 1899-12-30, the fraction being the time of day; default(DateTime) is 0.
  static double Day(DateTime value) { return value.ToOADate(); }

  // ---- Texts handed back by the library ----

  static string Copy(IntPtr text) {
    if (text == IntPtr.Zero) return "";
    int length = Marshal.ReadInt32(text, -4);
    if (length <= 0) return "";
    var bytes = new byte[length];
    Marshal.Copy(text, bytes, 0, length);
    return Win1252.Decode(bytes);
  }

  // Drops the reference the library gave us; the block goes back to the C heap.
  static void Release(ref IntPtr text) {
    if (text == IntPtr.Zero) return;
    IntPtr block = text - 8;
    text = IntPtr.Zero;
    int count = Marshal.ReadInt32(block);
    if (count == -1) return;
    if (--count == 0)
      CHeap.Free(block);
    else
      Marshal.WriteInt32(block, count);
  }

  static string Take(ref IntPtr text) {
    try {
      return Copy(text);
    } finally {
      Release(ref text);
    }
  }

  // The input texts of one call, in the library's form with the constant
  // count -1 (the library neither counts nor frees them), in one pinned
  // block that lives until the call returns.
  sealed class CallTexts : IDisposable {
    readonly IntPtr[] texts;
    GCHandle pin;

    public CallTexts(params string[] values) {
      texts = new IntPtr[values.Length];
      int size = 0;
      foreach (string value in values) size += SlotSize(value);
      if (size == 0) return;
      var block = new byte[size];
      var offsets = new int[values.Length];
      int at = 0;
      for (int i = 0; i < values.Length; ++i) {
        offsets[i] = -1;
        if (string.IsNullOrEmpty(values[i])) continue;
        Place(block, at, values[i], -1);
        offsets[i] = at + 8;
        at += SlotSize(values[i]);
      }
      pin = GCHandle.Alloc(block, GCHandleType.Pinned);
      IntPtr start = pin.AddrOfPinnedObject();
      for (int i = 0; i < values.Length; ++i)
        if (offsets[i] >= 0) texts[i] = start + offsets[i];
    }

    public IntPtr this[int index] { get { return texts[index]; } }

    public void Dispose() {
      if (pin.IsAllocated) pin.Free();
    }
  }

  static int SlotSize(string value) {
    // count, length, the bytes and a NUL, rounded up to keep the next header aligned
    return string.IsNullOrEmpty(value) ? 0 : checked(value.Length + 12) & ~3;
  }

  static void Place(byte[] block, int at, string value, int count) {
    Win1252.Encode(value, block, at + 8);
    WriteInt32(block, at, count);
    WriteInt32(block, at + 4, value.Length);
    block[at + 8 + value.Length] = 0;
  }

  static void WriteInt32(byte[] block, int at, int value) {
    block[at] = (byte)value;
    block[at + 1] = (byte)(value >> 8);
    block[at + 2] = (byte)(value >> 16);
    block[at + 3] = (byte)(value >> 24);
  }

  // A list passed in: a pointer to its first text and the index of its last.
  sealed class TextArray : IDisposable {
    readonly CallTexts texts;
    public readonly IntPtr First;
    public readonly int Last = -1;

    public TextArray(IList<string> values) {
      if (values == null || values.Count == 0) return;
      var copy = new string[values.Count];
      values.CopyTo(copy, 0);
      texts = new CallTexts(copy);
      try {
        First = Marshal.AllocHGlobal(IntPtr.Size * copy.Length);
      } catch {
        texts.Dispose();
        throw;
      }
      for (int i = 0; i < copy.Length; ++i) Marshal.WriteIntPtr(First, i * IntPtr.Size, texts[i]);
      Last = copy.Length - 1;
    }

    public void Dispose() {
      if (First != IntPtr.Zero) Marshal.FreeHGlobal(First);
      if (texts != null) texts.Dispose();
    }
  }

  // ---- Host lists that the library fills ----

  [UnmanagedFunctionPointer(CallingConvention.StdCall)]
  delegate byte ListClear(IntPtr context, IntPtr error);
  [UnmanagedFunctionPointer(CallingConvention.StdCall)]
  delegate byte ListAppend(IntPtr context, IntPtr text, IntPtr error);

  // Kept for the life of the process: the library calls them through these pointers.
  static readonly ListClear clearList = ClearList;
  static readonly ListAppend appendList = AppendList;
  static readonly IntPtr clearPointer = Marshal.GetFunctionPointerForDelegate(clearList);
  static readonly IntPtr appendPointer = Marshal.GetFunctionPointerForDelegate(appendList);

  static byte ClearList(IntPtr context, IntPtr error) {
    try {
      ListOf(context).Clear();
      return 1;
    } catch (Exception e) {
      StoreFailure(error, e);
      return 0;
    }
  }

  static byte AppendList(IntPtr context, IntPtr text, IntPtr error) {
    try {
      ListOf(context).Add(Copy(text));
      return 1;
    } catch (Exception e) {
      StoreFailure(error, e);
      return 0;
    }
  }

  static IList<string> ListOf(IntPtr context) {
    return (IList<string>)GCHandle.FromIntPtr(context).Target;
  }

  // The exception's message as the library's text (it releases it); characters
  // Windows-1252 cannot hold are spelled out as U+XXXX, never replaced.
  static void StoreFailure(IntPtr error, Exception e) {
    try {
      if (error == IntPtr.Zero || string.IsNullOrEmpty(e.Message)) return;
      string message = Win1252.Spelled(e.Message);
      var block = new byte[SlotSize(message)];
      Place(block, 0, message, 1);
      IntPtr copy = CHeap.Alloc(block.Length);
      if (copy == IntPtr.Zero) return;
      Marshal.Copy(block, 0, copy, block.Length);
      Marshal.WriteIntPtr(error, copy + 8);
    } catch (Exception) {
      // Without a text the library reports the failure in its own words.
    }
  }

  // The library's list record: context, clear, append.
  sealed class HostList : IDisposable {
    GCHandle list;
    public readonly IntPtr Pointer;

    public HostList(IList<string> strings) {
      if (strings == null) return;
      list = GCHandle.Alloc(strings);
      try {
        Pointer = Marshal.AllocHGlobal(3 * IntPtr.Size);
      } catch {
        list.Free();
        throw;
      }
      Marshal.WriteIntPtr(Pointer, 0, GCHandle.ToIntPtr(list));
      Marshal.WriteIntPtr(Pointer, IntPtr.Size, clearPointer);
      Marshal.WriteIntPtr(Pointer, 2 * IntPtr.Size, appendPointer);
    }

    public void Dispose() {
      if (Pointer != IntPtr.Zero) Marshal.FreeHGlobal(Pointer);
      if (list.IsAllocated) list.Free();
    }
  }

  // ---- The C heap the library allocates from and frees to ----

  static class CHeap {
    static readonly bool windows = Path.DirectorySeparatorChar == '\\';

    public static IntPtr Alloc(int size) {
      return windows ? WindowsMalloc((UIntPtr)size) : UnixMalloc((UIntPtr)size);
    }

    public static void Free(IntPtr block) {
      if (windows)
        WindowsFree(block);
      else
        UnixFree(block);
    }

    [DllImport("msvcrt.dll", EntryPoint = "malloc", CallingConvention = CallingConvention.Cdecl)]
    static extern IntPtr WindowsMalloc(UIntPtr size);
    [DllImport("msvcrt.dll", EntryPoint = "free", CallingConvention = CallingConvention.Cdecl)]
    static extern void WindowsFree(IntPtr block);
    [DllImport("libc.so.6", EntryPoint = "malloc", CallingConvention = CallingConvention.Cdecl)]
    static extern IntPtr UnixMalloc(UIntPtr size);
    [DllImport("libc.so.6", EntryPoint = "free", CallingConvention = CallingConvention.Cdecl)]
    static extern void UnixFree(IntPtr block);
  }

  // ---- The exports, with the library's own types ----

  static class Native {
    const string Library = "quorix";
    const CallingConvention Call = CallingConvention.StdCall;

    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_InicializarPAF(IntPtr cnpjCpf, IntPtr stateRegistration,
                                                    IntPtr municipalRegistration,
                                                    IntPtr companyName);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_FinalizarPAF(IntPtr publicKey, IntPtr privateKey,
                                                  IntPtr fileName, uint signOnly);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern void quorix_GetMessageError(ref IntPtr message);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_Header(IntPtr recordType);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_HeaderAnexoVI(
        IntPtr recordType, IntPtr serialNumber, IntPtr mfAdditional, IntPtr ecfType,
        IntPtr ecfBrand, IntPtr ecfModel, IntPtr firmwareVersion, double firmwareDate,
        double firmwareTime, int ecfOrderNumber, IntPtr softwareHouseFile, double periodStart,
        double periodEnd, IntPtr versionCode);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_Totally(IntPtr recordType, IntPtr countedType);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_RelacaoDavEmitido(IntPtr recordType, IntPtr serialNumber,
                                                       IntPtr mfAdditional, IntPtr ecfType,
                                                       IntPtr ecfBrand, IntPtr ecfModel,
                                                       int coo, IntPtr davNumber,
                                                       double davDate, IntPtr davTitle,
                                                       double davTotal);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_RelacaoMercadoriaEstoque(IntPtr recordType,
                                                              IntPtr productCode,
                                                              IntPtr productDescription,
                                                              IntPtr unitOfMeasure,
                                                              double stockQuantity,
                                                              double stockDate);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_RelacaoMercadoriaServicos(
        IntPtr recordType, IntPtr productCode, IntPtr productDescription, IntPtr unitOfMeasure,
        uint roundingIndicator, uint productionIndicator, uint taxSituation, double taxRate,
        double unitPrice);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_RelacaoReducoesZ(
        IntPtr recordType, IntPtr serialNumber, IntPtr mfAdditional, IntPtr ecfModel,
        IntPtr userNumber, IntPtr crz, IntPtr coo, IntPtr cro, double movementDate,
        double issueDate, double issueTime, double grossSales, IntPtr issqnDiscountFlag);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_DetalheReducaoZ(IntPtr recordType, IntPtr serialNumber,
                                                     IntPtr mfAdditional, IntPtr ecfModel,
                                                     IntPtr userNumber, IntPtr crz,
                                                     IntPtr totalizerCode,
                                                     double accumulatedValue);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_RelacaoCupomFiscal(
        IntPtr recordType, IntPtr serialNumber, IntPtr mfAdditional, IntPtr ecfModel,
        IntPtr userNumber, IntPtr ccf, IntPtr coo, double issueStartDate, double subtotal,
        double subtotalDiscount, uint discountKind, double subtotalIncrease, uint increaseKind,
        double netTotal, uint cancelIndicator, double cancelledIncrease, uint adjustmentOrder,
        IntPtr buyerName, IntPtr buyerId);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_DetalheCupomFiscal(
        IntPtr recordType, IntPtr serialNumber, IntPtr mfAdditional, IntPtr ecfModel,
        IntPtr userNumber, IntPtr coo, IntPtr ccf, IntPtr itemNumber, IntPtr productCode,
        IntPtr productDescription, double quantity, IntPtr unitOfMeasure, double unitValue,
        double itemDiscount, double itemIncrease, double netTotal, IntPtr totalizerCode,
        uint cancelIndicator, double cancelledQuantity, double cancelledValue,
        double cancelledIncrease, uint roundingIndicator, uint productionIndicator,
        int quantityDecimals, int unitValueDecimals);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_RelacaoDemaisDoctosEcf(
        IntPtr recordType, IntPtr serialNumber, IntPtr mfAdditional, IntPtr ecfModel,
        IntPtr userNumber, IntPtr coo, IntPtr gnf, IntPtr grg, IntPtr cdc, IntPtr documentSymbol,
        double issueEndDate, double issueEndTime);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_DetalheDemaisDoctosEcf(
        IntPtr recordType, IntPtr serialNumber, IntPtr mfAdditional, IntPtr ecfModel,
        IntPtr userNumber, IntPtr coo, IntPtr ccf, IntPtr gnf, IntPtr paymentMethod,
        double amountPaid, uint reversalIndicator, double reversedAmount);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_RelacaoMovimentoDiario(
        IntPtr recordType, double movementDay, IntPtr longCode, IntPtr shortCode,
        IntPtr firstNumber, IntPtr secondNumber, IntPtr serialNumber, IntPtr thirdNumber,
        IntPtr fourCharCode, double accountingValue, double taxBase, double taxRate,
        double taxAmount, double exemptAmount, double otherAmount);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_GenerateKeys(ref IntPtr publicKey, ref IntPtr privateKey);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_SignatureFileHash(IntPtr publicKey, IntPtr privateKey,
                                                       IntPtr fileName);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_ValidateFilePAF(IntPtr publicKey, IntPtr privateKey,
                                                     IntPtr fileName);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern void quorix_GenerateMD5(ref IntPtr digest, IntPtr input);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_GenerateDataSoftwareHouse(
        IntPtr cnpj, IntPtr stateRegistration, IntPtr municipalRegistration, IntPtr companyName,
        IntPtr address, IntPtr phone, IntPtr contact, IntPtr softwareName,
        IntPtr softwareVersion, IntPtr mainFile, IntPtr mainFileMd5, IntPtr erVersion,
        IntPtr reportNumber, IntPtr auxFiles, int auxFilesLast, IntPtr auxFilesMd5,
        int auxFilesMd5Last, IntPtr iniFileName);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_GetDataSoftwareHouse(
        ref IntPtr cnpj, ref IntPtr stateRegistration, ref IntPtr municipalRegistration,
        ref IntPtr companyName, ref IntPtr address, ref IntPtr phone, ref IntPtr contact,
        ref IntPtr softwareName, ref IntPtr softwareVersion, ref IntPtr mainFile,
        ref IntPtr mainFileMd5, ref IntPtr erVersion, ref IntPtr reportNumber, IntPtr auxFiles,
        IntPtr auxFilesMd5, IntPtr iniFileName);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_UpdateTotalizadorGeralECF(IntPtr serialNumber,
                                                               double grandTotal,
                                                               IntPtr iniFileName);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_GetInfoTotalizadorECF(IntPtr serialNumber,
                                                           ref double grandTotal,
                                                           IntPtr iniFileName);
    [DllImport(Library, CallingConvention = Call, ExactSpelling = true)]
    public static extern byte quorix_GenarateFileXml(IntPtr developerName, IntPtr modulus,
                                                     IntPtr folder, IntPtr publicExponent);
  }
}

/// <summary>
/// Windows-1252, the library's character set, with a table of its own so that
/// every runtime behaves the same (.NET 6+ has no code pages until a provider
/// is registered). Each of the 256 bytes has its character and back.
/// </summary>
public static class Win1252 {
  // The characters of bytes 0x80..0x9F; the five unassigned bytes stand for
  // the control characters of the same number, as Windows maps them.
  static readonly char[] high = {
      '\u20AC', '\u0081', '\u201A', '\u0192', '\u201E', '\u2026', '\u2020', '\u2021',
      '\u02C6', '\u2030', '\u0160', '\u2039', '\u0152', '\u008D', '\u017D', '\u008F',
      '\u0090', '\u2018', '\u2019', '\u201C', '\u201D', '\u2022', '\u2013', '\u2014',
      '\u02DC', '\u2122', '\u0161', '\u203A', '\u0153', '\u009D', '\u017E', '\u0178'};

  /// <summary>The Windows-1252 byte of a character.</summary>
  /// <param name="c">The character.</param>
  /// <returns>The byte, or -1 when Windows-1252 has none.</returns>
  public static int ByteOf(char c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
    int i = Array.IndexOf(high, c);
    return i < 0 ? -1 : 0x80 + i;
  }

  /// <summary>A string as Windows-1252 bytes.</summary>
  /// <param name="s">The string.</param>
  /// <returns>One byte per character.</returns>
  /// <exception cref="ArgumentException">A character Windows-1252 cannot hold; the message names it and its position.</exception>
  public static byte[] Encode(string s) {
    var bytes = new byte[s.Length];
    Encode(s, bytes, 0);
    return bytes;
  }

  internal static void Encode(string s, byte[] into, int at) {
    for (int i = 0; i < s.Length; ++i) {
      int b = ByteOf(s[i]);
      if (b < 0) throw Refusal(s, i);
      into[at + i] = (byte)b;
    }
  }

  /// <summary>Windows-1252 bytes as a string.</summary>
  /// <param name="bytes">The bytes.</param>
  /// <returns>One character per byte.</returns>
  public static string Decode(byte[] bytes) {
    var chars = new char[bytes.Length];
    for (int i = 0; i < bytes.Length; ++i) {
      byte b = bytes[i];
      chars[i] = b >= 0x80 && b <= 0x9F ? high[b - 0x80] : (char)b;
    }
    return new string(chars);
  }

  internal static ArgumentException Refusal(string s, int index) {
    bool pair = char.IsSurrogatePair(s, index);
    int code = pair ? char.ConvertToUtf32(s, index) : s[index];
    string shown = pair ? s.Substring(index, 2) : s[index].ToString();
    return new ArgumentException(string.Format(
        "O caractere U+{0:X4} '{1}' (posi\u00E7\u00E3o {2}) n\u00E3o existe em Windows-1252",
        code, shown, index + 1));
  }

  internal static ArgumentException Refusal(char c) {
    return new ArgumentException(string.Format(
        "O caractere U+{0:X4} '{1}' n\u00E3o existe em Windows-1252", (int)c, c));
  }

  // The text with every character Windows-1252 cannot hold written as U+XXXX.
  internal static string Spelled(string s) {
    var text = new StringBuilder(s.Length);
    foreach (char c in s)
      if (ByteOf(c) >= 0)
        text.Append(c);
      else
        text.AppendFormat("U+{0:X4}", (int)c);
    return text.ToString();
  }
}

}  // namespace Quorix
