// Drives every export through Quorix.Paf, as a C# host does: a report holding
// every record kind is built, finished, signed, validated and accepted by
// `quorix check`; texts cross in both directions character for character;
// messages, side files, the public-key file, failing host lists and calls
// from several threads come back as the library gives them.
// The same cases run as this program (Mono, the .NET Framework-style host)
// and, compiled with XUNIT defined, under xunit on .NET (tests/package/dotnet).
// usage: QUORIX_CLI=PATH-OF-quorix mono TestQuorix.exe   (in a folder holding
// expected_report.txt; prints "N passed, M failed" last)
using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.IO;
using System.Text;
using System.Threading;
using Quorix;

static class TestQuorix {
  const string Cnpj = "11.222.333/0001-81";
  const string Company = "Padaria P\u00E3o Dourado Ltda";
  const string Serial = "PX0909SC556100001234";
  const string Brand = "Fabricante X";
  const string Model = "PX-4000 FI EX";
  static readonly DateTime Day = new DateTime(2008, 3, 1);
  static readonly DateTime Time = new DateTime(1899, 12, 30, 13, 5, 9);
  const string InvalidFile = "Arquivo Inv\u00E1lido \r\n";
  const string NotANumber =
      "\r\nValor num\u00E9rico inv\u00E1lido (n\u00E3o \u00E9 um n\u00FAmero finito)";

  static int passed, failed;
  static readonly List<string> failures = new List<string>();
  static readonly object counting = new object();
  static string folder, publicKey, privateKey;

  static void Check(bool ok, string what) {
    lock (counting) {
      if (ok) {
        ++passed;
      } else {
        ++failed;
        failures.Add(what);
        Console.WriteLine("FAILED: " + what);
      }
    }
  }

  // The folder the cases write into (it holds expected_report.txt) and the key
  // pair they sign with.
  internal static void Prepare(string workFolder) {
    folder = workFolder;
    Check(Paf.GenerateKeys(out publicKey, out privateKey) && publicKey.Length == 256 &&
              privateKey.Length == 256,
          "GenerateKeys gives two 256-digit keys");
  }

  // Runs one group of cases; what failed in it, each with its details.
  internal static List<string> Run(Action cases) {
    lock (counting) failures.Clear();
    cases();
    lock (counting) return new List<string>(failures);
  }

  static string Shown(string s) {
    var text = new StringBuilder();
    foreach (char c in s)
      if (c >= ' ' && c < '\u007F')
        text.Append(c);
      else
        text.AppendFormat("\\u{0:X4}", (int)c);
    return text.ToString();
  }

  static void CheckText(string got, string want, string what) {
    Check(got == want, what + "\n   got  " + Shown(got) + "\n   want " + Shown(want));
  }

  // The call failed and left exactly this message.
  static void CheckFailure(bool ok, string want, string what) {
    Check(!ok, what + " should fail");
    CheckText(Paf.GetMessageError(), want, what + " message");
  }

  static string PathOf(string name) { return Path.Combine(folder, name); }

  // ---- Texts across the boundary ----

  static string AllCharacters() {
    var bytes = new byte[256];
    for (int i = 0; i < bytes.Length; ++i) bytes[i] = (byte)i;
    return Win1252.Decode(bytes);
  }

  // The library hands GenerateMD5's input back: every character goes in and out.
  internal static void TestTextsRoundTrip() {
    string[] texts = {"", "abc", "A\u00E7\u00FAcar cristal, p\u00E3o franc\u00EAs, \u20AC 2,50",
                      "antes\0depois", AllCharacters(), new string('x', 70000) + "\u00E9"};
    for (int i = 0; i < texts.Length; ++i)
      CheckText(Paf.GenerateMD5(texts[i]), texts[i], "GenerateMD5 round trip " + i);
    CheckText(Win1252.Decode(Win1252.Encode(AllCharacters())), AllCharacters(),
              "every byte converts both ways");
  }

  // What Windows-1252 cannot hold never reaches the library.
  internal static void TestRefusals() {
    Paf.Header("E");  // leaves a message the refused calls must not touch
    string before = Paf.GetMessageError();
    var cases = new KeyValuePair<Action, string>[] {
        new KeyValuePair<Action, string>(
            () => Paf.GenerateMD5("ok \u4E2D"),
            "O caractere U+4E2D '\u4E2D' (posi\u00E7\u00E3o 4) n\u00E3o existe em Windows-1252"),
        new KeyValuePair<Action, string>(
            () => Paf.Totally("T9", "E\uD83D\uDE00"),
            "O caractere U+1F600 '\uD83D\uDE00' (posi\u00E7\u00E3o 2) n\u00E3o existe em " +
                "Windows-1252"),
        new KeyValuePair<Action, string>(
            () => Paf.RelacaoMercadoriaServicos("P2", "1003", "Sonho", "UN", '\u0100', 'P', 'T',
                                                18, 6.5),
            "O caractere U+0100 '\u0100' n\u00E3o existe em Windows-1252")};
    foreach (var c in cases) {
      string message = null;
      try {
        c.Key();
      } catch (ArgumentException e) {
        message = e.Message;
      }
      CheckText(message ?? "(no exception)", c.Value, "refusal");
    }
    CheckText(Paf.GetMessageError(), before, "refused calls leave the library untouched");
  }

  // ---- Messages ----

  internal static void TestMessages() {
    CheckFailure(Paf.InicializarPAF("", "", "", ""),
                 "CPF/CNPJ inv\u00E1lido" + "Raz\u00E3o Social inv\u00E1lida.\r\n",
                 "InicializarPAF");
    CheckFailure(Paf.FinalizarPAF("1", "2", PathOf("nunca.txt"), false),
                 "Chaves P\u00FAblica e/ou Privada Inv\u00E1lidas ", "FinalizarPAF, short keys");
    Check(!File.Exists(PathOf("nunca.txt")), "no report file after refused keys");

    Check(Paf.InicializarPAF(Cnpj, "", "", Company), "InicializarPAF");
    CheckFailure(Paf.Header("E"), "Tipo de Registro Inv\u00E1lido E", "Header, short type");
    CheckFailure(Paf.RelacaoMercadoriaEstoque("E2", " ", "Farinha", "KG", 1, Day),
                 "C\u00F3digo Produto Inv\u00E1lido ", "stock line without a product code");
    CheckFailure(Paf.RelacaoMercadoriaServicos("P2", "1003", "Sonho", "UN", 'T', 'P', 'T', 18,
                                               double.PositiveInfinity),
                 NotANumber, "an infinite price");
    Check(Paf.FinalizarPAF(publicKey, privateKey, PathOf("vazio.txt"), false), "FinalizarPAF");
    CheckText(Paf.GetMessageError(), "", "no message after a finished report");
  }

  // ---- One report of every record kind ----

  static void WriteSoftwareHouse(string iniFile, IList<string> files, IList<string> digests) {
    Check(Paf.GenerateDataSoftwareHouse(
              "22.333.444/0001-81", "120.042.490.118", "55123", "Software Px & Filhos Ltda",
              "Rua das Ac\u00E1cias, 12 - S\u00E3o Jos\u00E9", "(48) 5555-0101",
              "Jo\u00E3o Corr\u00EAa", "Caixa F\u00E1cil PDV", "3.2.1", "caixa.exe",
              "0123456789ABCDEF0123456789ABCDEF", "01.06", "LAUDO-\u00C7-77", files, digests,
              iniFile),
          "GenerateDataSoftwareHouse " + iniFile);
  }

  static bool BuildEveryRecord(string house) {
    return Paf.InicializarPAF(Cnpj, "110.042.490.114", "", Company) && Paf.Header("E1") &&
           Paf.HeaderAnexoVI("E01", Serial, "A", "ECF-IF", Brand, Model, "01.00.01",
                             new DateTime(2007, 11, 20), Time, 7, house, Day,
                             new DateTime(2008, 3, 31), "0107") &&
           Paf.RelacaoDavEmitido("D2", Serial, "B", "ECF-IF", Brand, Model, 1021, "2024000117",
                                 new DateTime(2024, 5, 31, 14, 24, 0), "Or\u00E7amento", 152.75) &&
           Paf.RelacaoMercadoriaEstoque("E2", "1002", "Fermento biol\u00F3gico", "KG", -1.2,
                                        new DateTime(2024, 5, 31)) &&
           Paf.RelacaoMercadoriaServicos("P2", "1003", "Sonho de creme", "UN", 'T', 'P', 'S', 18,
                                         6.5) &&
           Paf.RelacaoReducoesZ("R02", Serial, "C", Model, "1", "123", "4567", "2", Day,
                                Day.AddDays(1), Time, 3480.25, "N") &&
           Paf.DetalheReducaoZ("R03", Serial, "C", Model, "2", "124", "T18,00", 2150) &&
           Paf.RelacaoCupomFiscal("E14", Serial, "A", Model, "3", "125", "4568", Day, 12.45, 0.45,
                                  'V', 0.30, 'P', 12.30, 'N', 0.10, 'D', "Jos\u00E9 da Silva",
                                  "529.982.247-25") &&
           Paf.DetalheCupomFiscal("E15", Serial, "A", Model, "4", "4569", "126", "2",
                                  "2000000000017", "P\u00E3o franc\u00EAs", 0.745, "KG", 10.0,
                                  0.01, 0.02, 7.46, "01T1700", 'S', 0.5, 5.0, 0.03, 'T', 'P', 3,
                                  2) &&
           Paf.RelacaoDemaisDoctosEcf("E16", Serial, "A", Model, "5", "4570", "17", "18", "19",
                                      "CN", Day, Time) &&
           Paf.DetalheDemaisDoctosEcf("E21", Serial, "A", Model, "6", "4571", "127", "20",
                                      "Cart\u00E3o D\u00E9bito", 7.0, 'S', 1.5) &&
           Paf.RelacaoMovimentoDiario("E22", Day, "ECF-IF", "01", "4566", "4567", Serial, "123",
                                      "2D", 3130.25, 2150.00, 18, 387.00, 980.25, 0.5) &&
           Paf.Totally("T9", "E1");
  }

  internal static void TestReport() {
    string house = PathOf("software-house.ini"), report = PathOf("every-record.txt");
    WriteSoftwareHouse(house, null, null);
    bool ok = BuildEveryRecord(house);
    Check(ok, "every builder: " + Shown(Paf.GetMessageError()));
    Check(Paf.FinalizarPAF(publicKey, privateKey, report, false), "FinalizarPAF " + report);
    Check(Paf.ValidateFilePAF(publicKey, privateKey, report), "ValidateFilePAF " + report);

    // Every field of these lines shows where its argument went.
    string[] want = File.ReadAllLines(PathOf("expected_report.txt"));
    string bytes = Win1252.Decode(File.ReadAllBytes(report));
    Check(bytes.EndsWith("\r\n"), "the report ends in CR LF");
    string[] lines = bytes.Split(new[] {"\r\n"}, StringSplitOptions.None);
    Check(lines.Length == want.Length + 2, "lines and the signature: " + lines.Length);
    for (int i = 0; i < Math.Min(want.Length, lines.Length); ++i)
      CheckText(lines[i], want[i], "line " + (i + 1));
    Check(lines.Length > 1 && lines[lines.Length - 2].StartsWith("EAD"),
          "the signature line closes the file");

    byte[] changed = File.ReadAllBytes(report);
    changed[2] = (byte)'X';
    File.WriteAllBytes(report, changed);
    Check(!Paf.ValidateFilePAF(publicKey, privateKey, report), "a changed file fails validation");
    File.WriteAllText(PathOf("assinado.txt"), "linha\r\n");
    Check(Paf.SignatureFileHash(publicKey, privateKey, PathOf("assinado.txt")) &&
              Paf.ValidateFilePAF(publicKey, privateKey, PathOf("assinado.txt")),
          "SignatureFileHash");
  }

  // ---- Side files, host lists, the public-key file ----

  static bool ReadSoftwareHouse(string iniFile, IList<string> files, IList<string> digests,
                                out string[] v) {
    v = new string[13];
    return Paf.GetDataSoftwareHouse(out v[0], out v[1], out v[2], out v[3], out v[4], out v[5],
                                    out v[6], out v[7], out v[8], out v[9], out v[10], out v[11],
                                    out v[12], files, digests, iniFile);
  }

  internal static void TestSideFiles() {
    string house = PathOf("house-round-trip.ini"), totals = PathOf("totals.ini");
    var files = new[] {"relat\u00F3rios.dll", "tef-cart\u00F5es.dll"};
    var digests = new List<string> {"9E107D9D372BB6826BD81D3542A419D6",
                                    "E4D909C290D0FB1CA068FFADDF22CBD0"};
    var gotFiles = new List<string> {"left from before"};
    var gotDigests = new List<string>();
    string[] v;
    WriteSoftwareHouse(house, files, digests);
    Check(ReadSoftwareHouse(house, gotFiles, gotDigests, out v), "GetDataSoftwareHouse");
    CheckText(string.Join("|", v),
              "22.333.444/0001-81|120.042.490.118|55123|Software Px & Filhos Ltda|" +
                  "Rua das Ac\u00E1cias, 12 - S\u00E3o Jos\u00E9|(48) 5555-0101|" +
                  "Jo\u00E3o Corr\u00EAa|Caixa F\u00E1cil PDV|3.2.1|caixa.exe|" +
                  "0123456789ABCDEF0123456789ABCDEF|01.06|LAUDO-\u00C7-77",
              "the thirteen software-house texts");
    CheckText(string.Join("|", gotFiles), string.Join("|", files), "auxiliary files");
    CheckText(string.Join("|", gotDigests), string.Join("|", digests), "auxiliary digests");
    Check(ReadSoftwareHouse(house, null, null, out v) && v[7] == "Caixa F\u00E1cil PDV",
          "GetDataSoftwareHouse without lists");

    double total;
    Check(Paf.UpdateTotalizadorGeralECF("S\u00C9RIE \u00C7-01", 1234567.89, totals),
          "UpdateTotalizadorGeralECF");
    Check(Paf.GetInfoTotalizadorECF("S\u00C9RIE \u00C7-01", out total, totals) &&
              total == 1234567.89,
          "grand total read back");

    // An accented folder and name: the library gets them in Windows-1252 and
    // names the same file that .NET sees.
    string accented = PathOf("past\u00E1");
    Directory.CreateDirectory(accented);
    string accentedTotals = Path.Combine(accented, "relat\u00F3rio.ini");
    Check(Paf.UpdateTotalizadorGeralECF("ECF 1", 7, accentedTotals) && File.Exists(accentedTotals),
          "grand total in an accented folder");
  }

  // A host list that fails the way it is told to.
  sealed class RefusingList : List<string>, IList<string> {
    public Exception OnClear, OnAdd;
    void ICollection<string>.Clear() {
      if (OnClear != null) throw OnClear;
      Clear();
    }
    void ICollection<string>.Add(string item) {
      if (OnAdd != null) throw OnAdd;
      Add(item);
    }
  }

  internal static void TestHostListFailures() {
    string house = PathOf("house-for-lists.ini");
    WriteSoftwareHouse(house, new[] {"relat\u00F3rios.dll"},
                       new[] {"9E107D9D372BB6826BD81D3542A419D6"});
    string fixedSize = null;
    try {
      ((IList<string>) new string[1]).Clear();
    } catch (NotSupportedException e) {
      fixedSize = e.Message;
    }
    var cases = new[] {
        new {List = (IList<string>) new string[1], Reason = fixedSize},
        new {List = (IList<string>) new RefusingList {OnClear = new Exception("limpeza recusada")},
             Reason = "limpeza recusada"},
        new {List = (IList<string>) new RefusingList {
                 OnAdd = new InvalidOperationException("lista cheia: \u00E7 \u4E2D")},
             Reason = "lista cheia: \u00E7 U+4E2D"},
        new {List = (IList<string>) new RefusingList {OnAdd = new Exception("")},
             Reason = "A lista do host recusou o texto relat\u00F3rios.dll"}};
    for (int i = 0; i < cases.Length; ++i) {
      string[] v;
      bool ok = true;
      try {
        ok = ReadSoftwareHouse(house, cases[i].List, null, out v);
      } catch (Exception e) {
        Check(false, "an exception came out of the library: " + e.Message);
      }
      CheckFailure(ok, InvalidFile + house + "\r\n" + cases[i].Reason, "host list failure " + i);
    }
  }

  internal static void TestPublicKeyFile() {
    Check(Paf.GenarateFileXml("Desenvolvedora Px", publicKey, folder, "010001"),
          "GenarateFileXml");
    CheckText(Win1252.Decode(File.ReadAllBytes(PathOf("Desenvolvedora Px.xml"))),
              "<?xml version=\"1.0\"?> \r\n<empresa_desenvolvedora> \r\n" +
                  "     <nome>Desenvolvedora Px</nome> \r\n     <chave> \r\n" +
                  "                <modulo>" + publicKey + "</modulo> \r\n" +
                  "                     <expoente_publico>010001</expoente_publico> \r\n" +
                  "     </chave> \r\n</empresa_desenvolvedora> \r\n\r\n",
              "public-key file");
  }

  // ---- Several threads of one host ----

  // Threads calling at once each get their own results: the texts they passed,
  // the grand totals they stored in their own files.
  internal static void TestThreads() {
    const int threadCount = 4, rounds = 200;
    var workers = new Thread[threadCount];
    var wrong = new string[threadCount];
    for (int t = 0; t < threadCount; ++t) {
      int me = t;
      workers[t] = new Thread(() => {
        string totals = PathOf("totais-" + me + ".ini");
        for (int i = 0; i < rounds && wrong[me] == null; ++i) {
          string text = "linha " + me + "/" + i + " a\u00E7\u00E3o \u20AC";
          string back = Paf.GenerateMD5(text);
          double stored = me * 1000 + i + 0.25, read;
          if (back != text)
            wrong[me] = "GenerateMD5 gave " + Shown(back) + " for " + Shown(text);
          else if (!Paf.UpdateTotalizadorGeralECF("ECF " + me, stored, totals) ||
                   !Paf.GetInfoTotalizadorECF("ECF " + me, out read, totals) || read != stored)
            wrong[me] = "grand total " + stored + " not read back from " + totals;
        }
      });
    }
    foreach (var w in workers) w.Start();
    foreach (var w in workers) w.Join();
    for (int t = 0; t < threadCount; ++t)
      Check(wrong[t] == null, "thread " + t + ": " + wrong[t]);
  }

  // ---- A report that the quorix program accepts ----

  // Runs the quorix program named by QUORIX_CLI; its exit status, its output.
  static int RunQuorix(out string output, params string[] args) {
    string program = Environment.GetEnvironmentVariable("QUORIX_CLI");
    output = "";
    if (string.IsNullOrEmpty(program)) {
      output = "QUORIX_CLI names no quorix program";
      return -1;
    }
    var quoted = new StringBuilder();
    foreach (string a in args) quoted.Append(" \"").Append(a.Replace("\"", "\\\"")).Append('"');
    var start = new ProcessStartInfo(program, quoted.ToString().Trim()) {
        UseShellExecute = false, RedirectStandardOutput = true, RedirectStandardError = true,
        StandardOutputEncoding = Encoding.UTF8, StandardErrorEncoding = Encoding.UTF8};
    using (var p = Process.Start(start)) {
      // Both pipes at once: a full one would stop the program.
      string err = "";
      var reader = new Thread(() => err = p.StandardError.ReadToEnd());
      reader.Start();
      output = p.StandardOutput.ReadToEnd();
      reader.Join();
      p.WaitForExit();
      output += err;
      return p.ExitCode;
    }
  }

  internal static void TestCheckedReport() {
    string house = PathOf("software-house.ini"), report = PathOf("verificado.txt");
    WriteSoftwareHouse(house, null, null);
    Check(BuildEveryRecord(house) && Paf.FinalizarPAF(publicKey, privateKey, report, false),
          "every builder, finished: " + Shown(Paf.GetMessageError()));
    Check(Paf.GenarateFileXml("Chave Verificada", publicKey, folder, "010001"),
          "GenarateFileXml for the check");
    string key = PathOf("Chave Verificada.xml"), output;
    int status = RunQuorix(out output, "check", report, "--key", key);
    CheckText(status + " " + output.TrimEnd(),
              "0 " + report + ": " + (File.ReadAllLines(PathOf("expected_report.txt")).Length + 1) +
                  " linhas, nenhum problema",
              "quorix check accepts the report");
    string changed = PathOf("verificado-alterado.txt");
    byte[] bytes = File.ReadAllBytes(report);
    bytes[2] ^= 1;
    File.WriteAllBytes(changed, bytes);
    status = RunQuorix(out output, "check", changed, "--key", key);
    Check(status == 1 && output.Contains("a assinatura n\u00E3o confere com a chave p\u00FAblica"),
          "quorix check refuses a changed copy: " + status + " " + output);
  }

#if !XUNIT
  static int Main() {
    Prepare(Directory.GetCurrentDirectory());
    TestTextsRoundTrip();
    TestRefusals();
    TestMessages();
    TestReport();
    TestSideFiles();
    TestHostListFailures();
    TestPublicKeyFile();
    TestThreads();
    TestCheckedReport();
    Console.WriteLine("{0} passed, {1} failed", passed, failed);
    return failed == 0 ? 0 : 1;
  }
#endif
}
