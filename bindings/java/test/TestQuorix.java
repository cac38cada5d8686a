// Drives every export through quorix.Paf, as a Java host does: a report holding
// every record kind is built, finished, signed and validated; texts cross in
// both directions character for character; messages, side files and the
// public-key file come back as the library gives them.
// usage: java -cp quorix.jar:jna.jar:. TestQuorix   (in a folder holding
// expected_report.txt; prints "N passed, M failed" last)
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.time.LocalDateTime;
import java.util.Arrays;
import java.util.List;
import quorix.Paf;
import quorix.Win1252;

public final class TestQuorix {
  static final String CNPJ = "11.222.333/0001-81";
  static final String COMPANY = "Padaria P\u00E3o Dourado Ltda";
  static final String SERIAL = "PX0909SC556100001234";
  static final String BRAND = "Fabricante X";
  static final String MODEL = "PX-4000 FI EX";
  static final LocalDateTime DAY = LocalDateTime.of(2008, 3, 1, 0, 0);
  static final LocalDateTime TIME = LocalDateTime.of(1899, 12, 30, 13, 5, 9);
  static final String INVALID_FILE = "Arquivo Inv\u00E1lido ";
  static final String NOT_A_NUMBER =
      "\r\nValor num\u00E9rico inv\u00E1lido (n\u00E3o \u00E9 um n\u00FAmero finito)";
  static final String[] HOUSE = {"22.333.444/0001-81", "120.042.490.118", "55123",
      "Software Px & Filhos Ltda", "Rua das Ac\u00E1cias, 12 - S\u00E3o Jos\u00E9",
      "(48) 5555-0101", "Jo\u00E3o Corr\u00EAa", "Caixa F\u00E1cil PDV", "3.2.1", "caixa.exe",
      "0123456789ABCDEF0123456789ABCDEF", "01.06", "LAUDO-\u00C7-77"};

  static int passed, failed;
  static Path folder;
  static String publicKey = "", privateKey = "";

  static void check(boolean ok, String what) {
    if (ok) {
      ++passed;
    } else {
      ++failed;
      System.out.println("FAILED: " + what);
    }
  }

  static String shown(String s) {
    if (s == null)
      return "(null)";
    StringBuilder text = new StringBuilder();
    for (char c : s.toCharArray())
      if (c >= ' ' && c < '\u007F')
        text.append(c);
      else
        text.append(String.format("\\u%04X", (int) c));
    return text.toString();
  }

  static void checkText(String got, String want, String what) {
    check(want.equals(got), what + "\n   got  " + shown(got) + "\n   want " + shown(want));
  }

  // The call failed and left exactly this message.
  static void checkFailure(boolean ok, String want, String what) {
    check(!ok, what + " should fail");
    checkText(Paf.getMessageError(), want, what + " message");
  }

  static String pathOf(String name) {
    return folder.resolve(name).toString();
  }

  // ---- Texts across the boundary ----

  static String allCharacters() {
    byte[] bytes = new byte[256];
    for (int i = 0; i < bytes.length; ++i) bytes[i] = (byte) i;
    return Win1252.decode(bytes);
  }

  // The library hands generateMD5's input back: every character goes in and out.
  static void testTextsRoundTrip() {
    String[] texts = {"", "abc", "A\u00E7\u00FAcar cristal, p\u00E3o franc\u00EAs, \u20AC 2,50",
        "antes\0depois", allCharacters(), "x".repeat(70000) + "\u00E9"};
    for (int i = 0; i < texts.length; ++i)
      checkText(Paf.generateMD5(texts[i]), texts[i], "generateMD5 round trip " + i);
    checkText(Paf.generateMD5(null), "", "null is the empty text");
    checkText(Win1252.decode(Win1252.encode(allCharacters())), allCharacters(),
        "every byte converts both ways");
  }

  // What Windows-1252 cannot hold never reaches the library.
  static void testRefusals() {
    Paf.header("E"); // leaves a message the refused calls must not touch
    String before = Paf.getMessageError();
    Object[][] cases = {
        {(Runnable) ()
                -> Paf.generateMD5("ok \u4E2D"),
            "O caractere U+4E2D '\u4E2D' (posi\u00E7\u00E3o 4) n\u00E3o existe em Windows-1252"},
        {(Runnable) ()
                -> Paf.totally("T9", "E\uD83D\uDE00"),
            "O caractere U+1F600 '\uD83D\uDE00' (posi\u00E7\u00E3o 2) n\u00E3o existe em "
                + "Windows-1252"},
        {(Runnable) ()
                -> Paf.relacaoMercadoriaServicos(
                    "P2", "1003", "Sonho", "UN", '\u0100', 'P', 'T', 18, 6.5),
            "O caractere U+0100 '\u0100' n\u00E3o existe em Windows-1252"}};
    for (Object[] c : cases) {
      String message = "(no exception)";
      try {
        ((Runnable) c[0]).run();
      } catch (IllegalArgumentException e) {
        message = e.getMessage();
      }
      checkText(message, (String) c[1], "refusal");
    }
    checkText(Paf.getMessageError(), before, "refused calls leave the library untouched");
  }

  // ---- Messages ----

  static void testMessages() {
    checkFailure(Paf.inicializarPAF("", "", "", ""),
        "CPF/CNPJ inv\u00E1lido"
            + "Raz\u00E3o Social inv\u00E1lida.\r\n",
        "inicializarPAF");
    checkFailure(Paf.finalizarPAF("1", "2", pathOf("nunca.txt"), false),
        "Chaves P\u00FAblica e/ou Privada Inv\u00E1lidas ", "finalizarPAF, short keys");
    check(!Files.exists(folder.resolve("nunca.txt")), "no report file after refused keys");

    check(Paf.inicializarPAF(CNPJ, "", "", COMPANY), "inicializarPAF");
    checkFailure(Paf.header("E"), "Tipo de Registro Inv\u00E1lido E", "header, short type");
    checkFailure(Paf.relacaoMercadoriaEstoque("E2", " ", "Farinha", "KG", 1, DAY),
        "C\u00F3digo Produto Inv\u00E1lido ", "stock line without a product code");
    checkFailure(Paf.relacaoMercadoriaServicos(
                     "P2", "1003", "Sonho", "UN", 'T', 'P', 'T', 18, Double.POSITIVE_INFINITY),
        NOT_A_NUMBER, "an infinite price");
    check(Paf.finalizarPAF(publicKey, privateKey, pathOf("vazio.txt"), false), "finalizarPAF");
    checkText(Paf.getMessageError(), "", "no message after a finished report");
  }

  // ---- One report of every record kind ----

  static boolean writeSoftwareHouse(String iniFile, List<String> files, List<String> digests) {
    String[] h = HOUSE;
    return Paf.generateDataSoftwareHouse(h[0], h[1], h[2], h[3], h[4], h[5], h[6], h[7], h[8], h[9],
        h[10], h[11], h[12], files, digests, iniFile);
  }

  static boolean buildEveryRecord(String house) {
    return Paf.inicializarPAF(CNPJ, "110.042.490.114", "", COMPANY) && Paf.header("E1")
        && Paf.headerAnexoVI("E01", SERIAL, "A", "ECF-IF", BRAND, MODEL, "01.00.01",
            LocalDateTime.of(2007, 11, 20, 0, 0), TIME, 7, house, DAY,
            LocalDateTime.of(2008, 3, 31, 0, 0), "0107")
        && Paf.relacaoDavEmitido("D2", SERIAL, "B", "ECF-IF", BRAND, MODEL, 1021, "2024000117",
            LocalDateTime.of(2024, 5, 31, 14, 24), "Or\u00E7amento", 152.75)
        && Paf.relacaoMercadoriaEstoque("E2", "1002", "Fermento biol\u00F3gico", "KG", -1.2,
            LocalDateTime.of(2024, 5, 31, 0, 0))
        && Paf.relacaoMercadoriaServicos(
            "P2", "1003", "Sonho de creme", "UN", 'T', 'P', 'S', 18, 6.5)
        && Paf.relacaoReducoesZ("R02", SERIAL, "C", MODEL, "1", "123", "4567", "2", DAY,
            DAY.plusDays(1), TIME, 3480.25, "N")
        && Paf.detalheReducaoZ("R03", SERIAL, "C", MODEL, "2", "124", "T18,00", 2150)
        && Paf.relacaoCupomFiscal("E14", SERIAL, "A", MODEL, "3", "125", "4568", DAY, 12.45, 0.45,
            'V', 0.30, 'P', 12.30, 'N', 0.10, 'D', "Jos\u00E9 da Silva", "529.982.247-25")
        && Paf.detalheCupomFiscal("E15", SERIAL, "A", MODEL, "4", "4569", "126", "2",
            "2000000000017", "P\u00E3o franc\u00EAs", 0.745, "KG", 10.0, 0.01, 0.02, 7.46,
            "01T1700", 'S', 0.5, 5.0, 0.03, 'T', 'P', 3, 2)
        && Paf.relacaoDemaisDoctosEcf(
            "E16", SERIAL, "A", MODEL, "5", "4570", "17", "18", "19", "CN", DAY, TIME)
        && Paf.detalheDemaisDoctosEcf("E21", SERIAL, "A", MODEL, "6", "4571", "127", "20",
            "Cart\u00E3o D\u00E9bito", 7.0, 'S', 1.5)
        && Paf.relacaoMovimentoDiario("E22", DAY, "ECF-IF", "01", "4566", "4567", SERIAL, "123",
            "2D", 3130.25, 2150.00, 18, 387.00, 980.25, 0.5)
        && Paf.totally("T9", "E1");
  }

  static void testReport() throws IOException {
    String house = pathOf("software-house.ini"), report = pathOf("every-record.txt");
    check(writeSoftwareHouse(house, null, null), "generateDataSoftwareHouse " + house);
    check(buildEveryRecord(house), "every builder: " + shown(Paf.getMessageError()));
    check(Paf.finalizarPAF(publicKey, privateKey, report, false), "finalizarPAF " + report);
    check(Paf.validateFilePAF(publicKey, privateKey, report), "validateFilePAF " + report);

    // Every field of these lines shows where its argument went.
    List<String> want =
        Files.readAllLines(folder.resolve("expected_report.txt"), StandardCharsets.ISO_8859_1);
    String bytes = Win1252.decode(Files.readAllBytes(Path.of(report)));
    check(bytes.endsWith("\r\n"), "the report ends in CR LF");
    String[] lines = bytes.split("\r\n", -1);
    check(lines.length == want.size() + 2, "lines and the signature: " + lines.length);
    for (int i = 0; i < Math.min(want.size(), lines.length); ++i)
      checkText(lines[i], want.get(i), "line " + (i + 1));
    check(lines.length > 1 && lines[lines.length - 2].startsWith("EAD"),
        "the signature line closes the file");

    byte[] changed = Files.readAllBytes(Path.of(report));
    changed[2] = 'X';
    Files.write(Path.of(report), changed);
    check(!Paf.validateFilePAF(publicKey, privateKey, report), "a changed file fails validation");
    Files.writeString(folder.resolve("assinado.txt"), "linha\r\n");
    check(Paf.signatureFileHash(publicKey, privateKey, pathOf("assinado.txt"))
            && Paf.validateFilePAF(publicKey, privateKey, pathOf("assinado.txt")),
        "signatureFileHash");
  }

  // ---- Side files, the public-key file ----

  static void testSideFiles() throws IOException {
    String house = pathOf("house-round-trip.ini"), totals = pathOf("totals.ini");
    List<String> files = List.of("relat\u00F3rios.dll", "tef-cart\u00F5es.dll");
    List<String> digests = List.of("9E107D9D372BB6826BD81D3542A419D6",
        "E4D909C290D0FB1CA068FFADDF22CBD0", "0CC175B9C0F1B6A831C399E269772661");
    check(writeSoftwareHouse(house, files, digests), "generateDataSoftwareHouse " + house);
    Paf.SoftwareHouse h = Paf.getDataSoftwareHouse(house);
    check(h != null, "getDataSoftwareHouse: " + shown(Paf.getMessageError()));
    if (h != null) {
      checkText(
          String.join("|", h.cnpj(), h.stateRegistration(), h.municipalRegistration(),
              h.companyName(), h.address(), h.phone(), h.contact(), h.softwareName(),
              h.softwareVersion(), h.mainFile(), h.mainFileMd5(), h.erVersion(), h.reportNumber()),
          String.join("|", HOUSE), "the thirteen software-house texts");
      check(h.auxFiles().equals(files), "auxiliary files: " + h.auxFiles());
      check(h.auxFilesMd5().equals(digests), "auxiliary digests: " + h.auxFilesMd5());
    }
    String missing = pathOf("ausente.ini");
    check(Paf.getDataSoftwareHouse(missing) == null, "getDataSoftwareHouse of no file is null");
    checkText(Paf.getMessageError(), INVALID_FILE + missing, "getDataSoftwareHouse message");

    check(Paf.updateTotalizadorGeralECF("S\u00C9RIE \u00C7-01", 1234567.89, totals),
        "updateTotalizadorGeralECF");
    Double total = Paf.getInfoTotalizadorECF("S\u00C9RIE \u00C7-01", totals);
    check(total != null && total == 1234567.89, "grand total read back: " + total);
    check(Paf.getInfoTotalizadorECF("S\u00C9RIE \u00C7-01", missing) == null,
        "getInfoTotalizadorECF of no file is null");
    checkText(Paf.getMessageError(), INVALID_FILE + missing, "getInfoTotalizadorECF message");

    // An accented folder and name: the library gets them in Windows-1252 and
    // names the same file that Java sees.
    Path accented = Files.createDirectories(folder.resolve("past\u00E1"));
    Path accentedTotals = accented.resolve("relat\u00F3rio.ini");
    check(Paf.updateTotalizadorGeralECF("ECF 1", 7, accentedTotals.toString())
            && Files.exists(accentedTotals),
        "grand total in an accented folder");
  }

  static void testPublicKeyFile() throws IOException {
    for (String name : Arrays.asList("Desenvolvedora Px", "Desenvolvedora Py")) {
      boolean ok = name.endsWith("Px")
          ? Paf.genarateFileXml(name, publicKey, folder.toString(), "010001")
          : Paf.generateFileXml(name, publicKey, folder.toString(), "010001");
      check(ok, "public-key file of " + name);
      checkText(Win1252.decode(Files.readAllBytes(folder.resolve(name + ".xml"))),
          "<?xml version=\"1.0\"?> \r\n<empresa_desenvolvedora> \r\n"
              + "     <nome>" + name + "</nome> \r\n     <chave> \r\n"
              + "                <modulo>" + publicKey + "</modulo> \r\n"
              + "                     <expoente_publico>010001</expoente_publico> \r\n"
              + "     </chave> \r\n</empresa_desenvolvedora> \r\n\r\n",
          "public-key file " + name);
    }
  }

  public static void main(String[] args) throws IOException {
    folder = Path.of("").toAbsolutePath();
    Paf.Keys keys = Paf.generateKeys();
    check(keys != null && keys.publicKey().length() == 256 && keys.privateKey().length() == 256,
        "generateKeys gives two 256-digit keys");
    if (keys != null) {
      publicKey = keys.publicKey();
      privateKey = keys.privateKey();
    }
    testTextsRoundTrip();
    testRefusals();
    testMessages();
    testReport();
    testSideFiles();
    testPublicKeyFile();
    System.out.println(passed + " passed, " + failed + " failed");
    System.exit(failed == 0 ? 0 : 1);
  }
}
