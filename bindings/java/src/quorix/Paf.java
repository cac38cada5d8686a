package quorix;

import com.sun.jna.Callback;
import com.sun.jna.CallbackReference;
import com.sun.jna.Memory;
import com.sun.jna.Native;
import com.sun.jna.NativeLibrary;
import com.sun.jna.Platform;
import com.sun.jna.Pointer;
import com.sun.jna.win32.StdCallLibrary;
import java.time.LocalDate;
import java.time.LocalDateTime;
import java.time.temporal.ChronoUnit;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.Map;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.atomic.AtomicLong;

/**
 * quorix for Java hosts, over JNA: the 32-bit Windows quorix.dll (run a 32-bit JVM) and the
 * x86-64 Linux libquorix.so. A host writes {@code import quorix.Paf;} and then
 * {@code Paf.header("E1")}.
 *
 * <p>Every method mirrors the export of the same name without "quorix_" and with a lower-case
 * first letter, with the same parameters in the same order. Texts are strings; they cross as
 * Windows-1252, and a character Windows-1252 cannot hold is refused with an
 * IllegalArgumentException before the library is called. Results are true on success; after
 * false, {@link #getMessageError()} gives the library's reason. Out-texts come back as values.
 *
 * <p>The library's texts are not Java strings: they carry an 8-byte header (a reference count and
 * a length) in front of the bytes and come from the C heap. This class builds every text it
 * passes in that form, copies every text it receives and hands the library's block back to the C
 * heap at once (msvcrt.dll's free on Windows, libc's on Linux). The two list callbacks catch
 * every throwable, so nothing unwinds through the library; the JVM already runs with every
 * floating-point exception masked, as the library's C code expects.
 *
 * <p>The library keeps one report per process and is not to be called from two threads at once.
 */
public final class Paf {
  private Paf() {}

  /** The developer's key pair, 256 hexadecimal digits each. */
  public record Keys(String publicKey, String privateKey) {}

  /** The software-house identification data as a side file holds them. */
  public record SoftwareHouse(String cnpj, String stateRegistration, String municipalRegistration,
      String companyName, String address, String phone, String contact, String softwareName,
      String softwareVersion, String mainFile, String mainFileMd5, String erVersion,
      String reportNumber, List<String> auxFiles, List<String> auxFilesMd5) {}

  // ---- Opening, finishing and error reporting of a report ----

  public static boolean inicializarPAF(
      String cnpjCpf, String stateRegistration, String municipalRegistration, String companyName) {
    try (Texts t = new Texts(cnpjCpf, stateRegistration, municipalRegistration, companyName)) {
      return Exports.quorix_InicializarPAF(t.at(0), t.at(1), t.at(2), t.at(3)) != 0;
    }
  }

  public static boolean finalizarPAF(
      String publicKey, String privateKey, String fileName, boolean signOnly) {
    try (Texts t = new Texts(publicKey, privateKey, fileName)) {
      return Exports.quorix_FinalizarPAF(t.at(0), t.at(1), t.at(2), signOnly ? 1 : 0) != 0;
    }
  }

  public static String getMessageError() {
    try (OutTexts v = new OutTexts(1)) {
      Exports.quorix_GetMessageError(v.variable(0));
      return v.text(0);
    }
  }

  // ---- Record builders: one line each, in the order the lines stand in the file ----

  public static boolean header(String recordType) {
    try (Texts t = new Texts(recordType)) {
      return Exports.quorix_Header(t.at(0)) != 0;
    }
  }

  public static boolean headerAnexoVI(String recordType, String serialNumber, String mfAdditional,
      String ecfType, String ecfBrand, String ecfModel, String firmwareVersion,
      LocalDateTime firmwareDate, LocalDateTime firmwareTime, int ecfOrderNumber,
      String softwareHouseFile, LocalDateTime periodStart, LocalDateTime periodEnd,
      String versionCode) {
    try (Texts t = new Texts(recordType, serialNumber, mfAdditional, ecfType, ecfBrand, ecfModel,
             firmwareVersion, softwareHouseFile, versionCode)) {
      return Exports.quorix_HeaderAnexoVI(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4), t.at(5),
                 t.at(6), day(firmwareDate), day(firmwareTime), ecfOrderNumber, t.at(7),
                 day(periodStart), day(periodEnd), t.at(8))
          != 0;
    }
  }

  public static boolean totally(String recordType, String countedType) {
    try (Texts t = new Texts(recordType, countedType)) {
      return Exports.quorix_Totally(t.at(0), t.at(1)) != 0;
    }
  }

  public static boolean relacaoDavEmitido(String recordType, String serialNumber,
      String mfAdditional, String ecfType, String ecfBrand, String ecfModel, int coo,
      String davNumber, LocalDateTime davDate, String davTitle, double davTotal) {
    try (Texts t = new Texts(recordType, serialNumber, mfAdditional, ecfType, ecfBrand, ecfModel,
             davNumber, davTitle)) {
      return Exports.quorix_RelacaoDavEmitido(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4), t.at(5),
                 coo, t.at(6), day(davDate), t.at(7), davTotal)
          != 0;
    }
  }

  public static boolean relacaoMercadoriaEstoque(String recordType, String productCode,
      String productDescription, String unitOfMeasure, double stockQuantity,
      LocalDateTime stockDate) {
    try (Texts t = new Texts(recordType, productCode, productDescription, unitOfMeasure)) {
      return Exports.quorix_RelacaoMercadoriaEstoque(
                 t.at(0), t.at(1), t.at(2), t.at(3), stockQuantity, day(stockDate))
          != 0;
    }
  }

  public static boolean relacaoMercadoriaServicos(String recordType, String productCode,
      String productDescription, String unitOfMeasure, char roundingIndicator,
      char productionIndicator, char taxSituation, double taxRate, double unitPrice) {
    int rounding = slot(roundingIndicator), production = slot(productionIndicator);
    int situation = slot(taxSituation);
    try (Texts t = new Texts(recordType, productCode, productDescription, unitOfMeasure)) {
      return Exports.quorix_RelacaoMercadoriaServicos(t.at(0), t.at(1), t.at(2), t.at(3), rounding,
                 production, situation, taxRate, unitPrice)
          != 0;
    }
  }

  public static boolean relacaoReducoesZ(String recordType, String serialNumber,
      String mfAdditional, String ecfModel, String userNumber, String crz, String coo, String cro,
      LocalDateTime movementDate, LocalDateTime issueDate, LocalDateTime issueTime,
      double grossSales, String issqnDiscountFlag) {
    try (Texts t = new Texts(recordType, serialNumber, mfAdditional, ecfModel, userNumber, crz, coo,
             cro, issqnDiscountFlag)) {
      return Exports.quorix_RelacaoReducoesZ(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4), t.at(5),
                 t.at(6), t.at(7), day(movementDate), day(issueDate), day(issueTime), grossSales,
                 t.at(8))
          != 0;
    }
  }

  public static boolean detalheReducaoZ(String recordType, String serialNumber, String mfAdditional,
      String ecfModel, String userNumber, String crz, String totalizerCode,
      double accumulatedValue) {
    try (Texts t = new Texts(
             recordType, serialNumber, mfAdditional, ecfModel, userNumber, crz, totalizerCode)) {
      return Exports.quorix_DetalheReducaoZ(
                 t.at(0), t.at(1), t.at(2), t.at(3), t.at(4), t.at(5), t.at(6), accumulatedValue)
          != 0;
    }
  }

  public static boolean relacaoCupomFiscal(String recordType, String serialNumber,
      String mfAdditional, String ecfModel, String userNumber, String ccf, String coo,
      LocalDateTime issueStartDate, double subtotal, double subtotalDiscount, char discountKind,
      double subtotalIncrease, char increaseKind, double netTotal, char cancelIndicator,
      double cancelledIncrease, char adjustmentOrder, String buyerName, String buyerId) {
    int discount = slot(discountKind), increase = slot(increaseKind);
    int cancel = slot(cancelIndicator), order = slot(adjustmentOrder);
    try (Texts t = new Texts(recordType, serialNumber, mfAdditional, ecfModel, userNumber, ccf, coo,
             buyerName, buyerId)) {
      return Exports.quorix_RelacaoCupomFiscal(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4), t.at(5),
                 t.at(6), day(issueStartDate), subtotal, subtotalDiscount, discount,
                 subtotalIncrease, increase, netTotal, cancel, cancelledIncrease, order, t.at(7),
                 t.at(8))
          != 0;
    }
  }

  public static boolean detalheCupomFiscal(String recordType, String serialNumber,
      String mfAdditional, String ecfModel, String userNumber, String coo, String ccf,
      String itemNumber, String productCode, String productDescription, double quantity,
      String unitOfMeasure, double unitValue, double itemDiscount, double itemIncrease,
      double netTotal, String totalizerCode, char cancelIndicator, double cancelledQuantity,
      double cancelledValue, double cancelledIncrease, char roundingIndicator,
      char productionIndicator, int quantityDecimals, int unitValueDecimals) {
    int cancel = slot(cancelIndicator), rounding = slot(roundingIndicator);
    int production = slot(productionIndicator);
    try (Texts t = new Texts(recordType, serialNumber, mfAdditional, ecfModel, userNumber, coo, ccf,
             itemNumber, productCode, productDescription, unitOfMeasure, totalizerCode)) {
      return Exports.quorix_DetalheCupomFiscal(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4), t.at(5),
                 t.at(6), t.at(7), t.at(8), t.at(9), quantity, t.at(10), unitValue, itemDiscount,
                 itemIncrease, netTotal, t.at(11), cancel, cancelledQuantity, cancelledValue,
                 cancelledIncrease, rounding, production, quantityDecimals, unitValueDecimals)
          != 0;
    }
  }

  public static boolean relacaoDemaisDoctosEcf(String recordType, String serialNumber,
      String mfAdditional, String ecfModel, String userNumber, String coo, String gnf, String grg,
      String cdc, String documentSymbol, LocalDateTime issueEndDate, LocalDateTime issueEndTime) {
    try (Texts t = new Texts(recordType, serialNumber, mfAdditional, ecfModel, userNumber, coo, gnf,
             grg, cdc, documentSymbol)) {
      return Exports.quorix_RelacaoDemaisDoctosEcf(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4),
                 t.at(5), t.at(6), t.at(7), t.at(8), t.at(9), day(issueEndDate), day(issueEndTime))
          != 0;
    }
  }

  public static boolean detalheDemaisDoctosEcf(String recordType, String serialNumber,
      String mfAdditional, String ecfModel, String userNumber, String coo, String ccf, String gnf,
      String paymentMethod, double amountPaid, char reversalIndicator, double reversedAmount) {
    int reversal = slot(reversalIndicator);
    try (Texts t = new Texts(recordType, serialNumber, mfAdditional, ecfModel, userNumber, coo, ccf,
             gnf, paymentMethod)) {
      return Exports.quorix_DetalheDemaisDoctosEcf(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4),
                 t.at(5), t.at(6), t.at(7), t.at(8), amountPaid, reversal, reversedAmount)
          != 0;
    }
  }

  public static boolean relacaoMovimentoDiario(String recordType, LocalDateTime movementDay,
      String longCode, String shortCode, String firstNumber, String secondNumber,
      String serialNumber, String thirdNumber, String fourCharCode, double accountingValue,
      double taxBase, double taxRate, double taxAmount, double exemptAmount, double otherAmount) {
    try (Texts t = new Texts(recordType, longCode, shortCode, firstNumber, secondNumber,
             serialNumber, thirdNumber, fourCharCode)) {
      return Exports.quorix_RelacaoMovimentoDiario(t.at(0), day(movementDay), t.at(1), t.at(2),
                 t.at(3), t.at(4), t.at(5), t.at(6), t.at(7), accountingValue, taxBase, taxRate,
                 taxAmount, exemptAmount, otherAmount)
          != 0;
    }
  }

  // ---- Key material, signing and validation ----

  /** A new key pair, or null when the signing library gave none. */
  public static Keys generateKeys() {
    try (OutTexts v = new OutTexts(2)) {
      if (Exports.quorix_GenerateKeys(v.variable(0), v.variable(1)) == 0)
        return null;
      return new Keys(v.text(0), v.text(1));
    }
  }

  public static boolean signatureFileHash(String publicKey, String privateKey, String fileName) {
    try (Texts t = new Texts(publicKey, privateKey, fileName)) {
      return Exports.quorix_SignatureFileHash(t.at(0), t.at(1), t.at(2)) != 0;
    }
  }

  public static boolean validateFilePAF(String publicKey, String privateKey, String fileName) {
    try (Texts t = new Texts(publicKey, privateKey, fileName)) {
      return Exports.quorix_ValidateFilePAF(t.at(0), t.at(1), t.at(2)) != 0;
    }
  }

  public static String generateMD5(String input) {
    try (Texts t = new Texts(input); OutTexts v = new OutTexts(1)) {
      Exports.quorix_GenerateMD5(v.variable(0), t.at(0));
      return v.text(0);
    }
  }

  // ---- Side files ----

  /** A null list is an empty one. */
  public static boolean generateDataSoftwareHouse(String cnpj, String stateRegistration,
      String municipalRegistration, String companyName, String address, String phone,
      String contact, String softwareName, String softwareVersion, String mainFile,
      String mainFileMd5, String erVersion, String reportNumber, List<String> auxFiles,
      List<String> auxFilesMd5, String iniFileName) {
    try (TextArray files = new TextArray(auxFiles); TextArray digests = new TextArray(auxFilesMd5);
         Texts t = new Texts(cnpj, stateRegistration, municipalRegistration, companyName, address,
             phone, contact, softwareName, softwareVersion, mainFile, mainFileMd5, erVersion,
             reportNumber, iniFileName)) {
      return Exports.quorix_GenerateDataSoftwareHouse(t.at(0), t.at(1), t.at(2), t.at(3), t.at(4),
                 t.at(5), t.at(6), t.at(7), t.at(8), t.at(9), t.at(10), t.at(11), t.at(12),
                 files.first(), files.last(), digests.first(), digests.last(), t.at(13))
          != 0;
    }
  }

  /** The file's data, or null when they could not be read (see getMessageError). */
  public static SoftwareHouse getDataSoftwareHouse(String iniFileName) {
    List<String> files = new ArrayList<>(), digests = new ArrayList<>();
    try (Texts t = new Texts(iniFileName); OutTexts v = new OutTexts(13);
         HostList fileList = new HostList(files); HostList digestList = new HostList(digests)) {
      if (Exports.quorix_GetDataSoftwareHouse(v.variable(0), v.variable(1), v.variable(2),
              v.variable(3), v.variable(4), v.variable(5), v.variable(6), v.variable(7),
              v.variable(8), v.variable(9), v.variable(10), v.variable(11), v.variable(12),
              fileList.record, digestList.record, t.at(0))
          == 0)
        return null;
      return new SoftwareHouse(v.text(0), v.text(1), v.text(2), v.text(3), v.text(4), v.text(5),
          v.text(6), v.text(7), v.text(8), v.text(9), v.text(10), v.text(11), v.text(12),
          Collections.unmodifiableList(files), Collections.unmodifiableList(digests));
    }
  }

  public static boolean updateTotalizadorGeralECF(
      String serialNumber, double grandTotal, String iniFileName) {
    try (Texts t = new Texts(serialNumber, iniFileName)) {
      return Exports.quorix_UpdateTotalizadorGeralECF(t.at(0), grandTotal, t.at(1)) != 0;
    }
  }

  /** The ECF's grand total, or null when it could not be read (see getMessageError). */
  public static Double getInfoTotalizadorECF(String serialNumber, String iniFileName) {
    try (Texts t = new Texts(serialNumber, iniFileName); Memory total = new Memory(8)) {
      total.setDouble(0, 0);
      if (Exports.quorix_GetInfoTotalizadorECF(t.at(0), total, t.at(1)) == 0)
        return null;
      return total.getDouble(0);
    }
  }

  // ---- The developer's public-key file; the export is spelled "Genarate". ----

  public static boolean genarateFileXml(
      String developerName, String modulus, String folder, String publicExponent) {
    try (Texts t = new Texts(developerName, modulus, folder, publicExponent)) {
      return Exports.quorix_GenarateFileXml(t.at(0), t.at(1), t.at(2), t.at(3)) != 0;
    }
  }

  public static boolean generateFileXml(
      String developerName, String modulus, String folder, String publicExponent) {
    return genarateFileXml(developerName, modulus, folder, publicExponent);
  }

  // ---- Arguments ----

  private static int slot(char value) {
    int b = Win1252.byteOf(value);
    if (b < 0)
      throw Win1252.refusal(value);
    return b;
  }

  private static final LocalDate DAY_ZERO = LocalDate.of(1899, 12, 30);
  private static final double MILLIS_PER_DAY = 86_400_000.0;

  // Days since 1899-12-30, the fraction being the time of day, to the millisecond; before
  // that day the whole days count down while the fraction still counts up, as the
  // library's dates do. Null is 0.
  static double day(LocalDateTime value) {
    if (value == null)
      return 0;
    long days = ChronoUnit.DAYS.between(DAY_ZERO, value.toLocalDate());
    long millis = value.toLocalTime().toNanoOfDay() / 1_000_000;
    return days >= 0 ? days + millis / MILLIS_PER_DAY : days - millis / MILLIS_PER_DAY;
  }

  // ---- Texts handed back by the library ----

  static String copy(Pointer text) {
    if (text == null)
      return "";
    int length = text.getInt(-4);
    return length <= 0 ? "" : Win1252.decode(text.getByteArray(0, length));
  }

  // Drops the reference the library gave us; the block goes back to the C heap.
  static void release(Pointer text) {
    if (text == null)
      return;
    Pointer block = text.share(-8);
    int count = block.getInt(0);
    if (count == -1)
      return;
    if (--count == 0)
      CHeap.free(block);
    else
      block.setInt(0, count);
  }

  // Variables for the library's out-texts; closing releases what they hold.
  private static final class OutTexts implements AutoCloseable {
    private final Memory variables;
    private final int count;

    OutTexts(int count) {
      this.count = count;
      variables = new Memory((long) count * Native.POINTER_SIZE);
      variables.clear();
    }

    Pointer variable(int i) {
      return variables.share((long) i * Native.POINTER_SIZE);
    }

    String text(int i) {
      return copy(variables.getPointer((long) i * Native.POINTER_SIZE));
    }

    @Override
    public void close() {
      for (int i = 0; i < count; ++i) release(variables.getPointer((long) i * Native.POINTER_SIZE));
      variables.close();
    }
  }

  // ---- Texts passed in ----

  // The input texts of one call, in the library's form with the constant
  // count -1 (the library neither counts nor frees them), in one native block
  // that lives until the call returns. Every text is encoded before anything
  // is allocated, so a refused character leaves nothing behind.
  private static final class Texts implements AutoCloseable {
    private final Memory block;
    private final Pointer[] texts;

    Texts(String... values) {
      byte[][] bytes = new byte[values.length][];
      long size = 0;
      for (int i = 0; i < values.length; ++i) {
        if (values[i] == null || values[i].isEmpty())
          continue;
        bytes[i] = Win1252.encode(values[i]);
        size += slotSize(bytes[i].length);
      }
      texts = new Pointer[values.length];
      block = size == 0 ? null : new Memory(size);
      long at = 0;
      for (int i = 0; i < values.length; ++i) {
        if (bytes[i] == null)
          continue;
        block.setInt(at, -1);
        block.setInt(at + 4, bytes[i].length);
        block.write(at + 8, bytes[i], 0, bytes[i].length);
        block.setByte(at + 8 + bytes[i].length, (byte) 0);
        texts[i] = block.share(at + 8);
        at += slotSize(bytes[i].length);
      }
    }

    Pointer at(int i) {
      return texts[i];
    }

    @Override
    public void close() {
      if (block != null)
        block.close();
    }
  }

  // count, length, the bytes and a NUL, rounded up to keep the next header aligned
  private static long slotSize(int length) {
    return (length + 12L) & ~3L;
  }

  // A list passed in: a pointer to its first text and the index of its last.
  private static final class TextArray implements AutoCloseable {
    private final Texts texts;
    private final Memory pointers;
    private final int last;

    TextArray(List<String> values) {
      last = values == null ? -1 : values.size() - 1;
      if (last < 0) {
        texts = null;
        pointers = null;
        return;
      }
      texts = new Texts(values.toArray(new String[0]));
      pointers = new Memory((long) (last + 1) * Native.POINTER_SIZE);
      for (int i = 0; i <= last; ++i)
        pointers.setPointer((long) i * Native.POINTER_SIZE, texts.at(i));
    }

    Pointer first() {
      return pointers;
    }

    int last() {
      return last;
    }

    @Override
    public void close() {
      if (pointers != null)
        pointers.close();
      if (texts != null)
        texts.close();
    }
  }

  // ---- Lists that the library fills ----

  interface ClearList extends Callback {
    byte invoke(Pointer context, Pointer error);
  }

  interface AppendList extends Callback {
    byte invoke(Pointer context, Pointer text, Pointer error);
  }

  interface StdCallClearList extends StdCallLibrary.StdCallCallback {
    byte invoke(Pointer context, Pointer error);
  }

  interface StdCallAppendList extends StdCallLibrary.StdCallCallback {
    byte invoke(Pointer context, Pointer text, Pointer error);
  }

  // The library hands the context back; it names the list among those of calls in progress.
  private static final Map<Long, List<String>> LISTS = new ConcurrentHashMap<>();
  private static final AtomicLong NEXT_LIST = new AtomicLong(1);

  // Kept for the life of the class: the library calls them through these pointers.
  private static final Callback CLEAR =
      Exports.STDCALL ? (StdCallClearList) Paf::clearList : (ClearList) Paf::clearList;
  private static final Callback APPEND =
      Exports.STDCALL ? (StdCallAppendList) Paf::appendList : (AppendList) Paf::appendList;

  private static byte clearList(Pointer context, Pointer error) {
    try {
      LISTS.get(Pointer.nativeValue(context)).clear();
      return 1;
    } catch (Throwable e) {
      storeFailure(error, e);
      return 0;
    }
  }

  private static byte appendList(Pointer context, Pointer text, Pointer error) {
    try {
      LISTS.get(Pointer.nativeValue(context)).add(copy(text));
      return 1;
    } catch (Throwable e) {
      storeFailure(error, e);
      return 0;
    }
  }

  // The throwable's message as the library's text (it releases it), when
  // Windows-1252 can hold it; otherwise the library reports the failure in its own words.
  private static void storeFailure(Pointer error, Throwable e) {
    try {
      String message = e.getMessage();
      if (error == null || message == null || message.isEmpty())
        return;
      byte[] bytes = Win1252.encode(message);
      Pointer block = CHeap.malloc(new Pointer(bytes.length + 9L));
      if (block == null)
        return;
      block.setInt(0, 1);
      block.setInt(4, bytes.length);
      block.write(8, bytes, 0, bytes.length);
      block.setByte(8 + bytes.length, (byte) 0);
      error.setPointer(0, block.share(8));
    } catch (Throwable ignored) {
      // Nothing may leave a callback.
    }
  }

  // The library's list record: context, clear, append.
  private static final class HostList implements AutoCloseable {
    private final long id = NEXT_LIST.getAndIncrement();
    final Memory record = new Memory(3L * Native.POINTER_SIZE);

    HostList(List<String> list) {
      LISTS.put(id, list);
      record.setPointer(0, new Pointer(id));
      record.setPointer(Native.POINTER_SIZE, CallbackReference.getFunctionPointer(CLEAR));
      record.setPointer(2L * Native.POINTER_SIZE, CallbackReference.getFunctionPointer(APPEND));
    }

    @Override
    public void close() {
      LISTS.remove(id);
      record.close();
    }
  }

  // ---- The C heap the library allocates from and frees to ----

  private static final class CHeap {
    static {
      Native.register(CHeap.class, NativeLibrary.getInstance(Platform.C_LIBRARY_NAME));
    }

    // size_t has a pointer's width on both targets; JNA maps Pointer, not size_t.
    static native Pointer malloc(Pointer size);

    static native void free(Pointer block);
  }
}
