// The shared cases of TestQuorix.cs, one fact per export family, in a folder
// whose name is accented, plus what only a .NET host can get wrong: that the
// package's native libraries are the ones loaded, both from one folder.
using System;
using System.Collections.Generic;
using System.IO;
using System.Linq;
using Xunit;

public sealed class AccentedFolder : IDisposable {
  public readonly string Path;

  public AccentedFolder() {
    Path = System.IO.Path.Combine(System.IO.Path.GetTempPath(),
                                  "quorix-xunit-" + Environment.ProcessId,
                                  "Relat\u00F3rios S\u00E3o Jo\u00E3o");
    Directory.CreateDirectory(Path);
    File.Copy(System.IO.Path.Combine(AppContext.BaseDirectory, "expected_report.txt"),
              System.IO.Path.Combine(Path, "expected_report.txt"));
    AssertPassed(TestQuorix.Run(() => TestQuorix.Prepare(Path)));
  }

  public void Dispose() {
    Directory.Delete(System.IO.Path.GetDirectoryName(Path), true);
  }

  public static void AssertPassed(List<string> failures) {
    Assert.True(failures.Count == 0, string.Join("\n", failures));
  }
}

// One class: the library keeps one report per process, so these run in turn.
public sealed class PackageTests : IClassFixture<AccentedFolder> {
  static void Passes(Action cases) { AccentedFolder.AssertPassed(TestQuorix.Run(cases)); }

  [Fact] public void TextsCrossBothWaysCharacterForCharacter() { Passes(TestQuorix.TestTextsRoundTrip); }
  [Fact] public void CharactersWithoutWindows1252AreRefused() { Passes(TestQuorix.TestRefusals); }
  [Fact] public void FailuresLeaveTheLibrarysMessages() { Passes(TestQuorix.TestMessages); }
  [Fact] public void EveryRecordBuilderSignedAndValidated() { Passes(TestQuorix.TestReport); }
  [Fact] public void SideFilesRoundTrip() { Passes(TestQuorix.TestSideFiles); }
  [Fact] public void FailingHostListsFailTheCall() { Passes(TestQuorix.TestHostListFailures); }
  [Fact] public void PublicKeyFile() { Passes(TestQuorix.TestPublicKeyFile); }
  [Fact] public void SeveralThreads() { Passes(TestQuorix.TestThreads); }
  [Fact] public void QuorixCheckAcceptsTheReport() { Passes(TestQuorix.TestCheckedReport); }

  // The dynamic loader found libquorix.so through the package's runtimes
  // folder (nothing on LD_LIBRARY_PATH), and libquorix found libsign_bema
  // beside itself, not anywhere else on the machine.
  [Fact]
  public void NativeLibrariesComeFromThePackageBesideEachOther() {
    Assert.Null(Environment.GetEnvironmentVariable("LD_LIBRARY_PATH"));
    var mapped = File.ReadAllLines("/proc/self/maps")
                     .Select(line => line.IndexOf('/') < 0 ? "" : line.Substring(line.IndexOf('/')))
                     .Where(path => Path.GetFileName(path).StartsWith("libquorix") ||
                                    Path.GetFileName(path).StartsWith("libsign_bema"))
                     .Distinct()
                     .OrderBy(path => path, StringComparer.Ordinal);
    string native = Path.Combine(AppContext.BaseDirectory, "runtimes", "linux-x64", "native");
    Assert.Equal(new[] {Path.Combine(native, "libquorix.so"),
                        Path.Combine(native, "libsign_bema.so.1")},
                 mapped);
  }
}
