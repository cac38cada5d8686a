package quorix;

// Windows-1252 of its own: the JDK's windows-1252 charset turns the five
// unassigned bytes into U+FFFD, so a text would not come back as it went.
// Here every byte has its character and back, and a character that
// Windows-1252 cannot hold is refused, never replaced.
public final class Win1252 {
  // The characters of bytes 0x80..0x9F; the five unassigned bytes stand for
  // the control characters of the same number, as Windows maps them.
  private static final char[] HIGH = {'\u20AC', '\u0081', '\u201A', '\u0192', '\u201E', '\u2026',
      '\u2020', '\u2021', '\u02C6', '\u2030', '\u0160', '\u2039', '\u0152', '\u008D', '\u017D',
      '\u008F', '\u0090', '\u2018', '\u2019', '\u201C', '\u201D', '\u2022', '\u2013', '\u2014',
      '\u02DC', '\u2122', '\u0161', '\u203A', '\u0153', '\u009D', '\u017E', '\u0178'};

  private Win1252() {}

  /** The byte of a character, or -1 when Windows-1252 has none. */
  public static int byteOf(char c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
      return c;
    for (int i = 0; i < HIGH.length; ++i)
      if (HIGH[i] == c)
        return 0x80 + i;
    return -1;
  }

  /** The text's bytes; IllegalArgumentException names the first character it cannot hold. */
  public static byte[] encode(String s) {
    byte[] bytes = new byte[s.length()];
    for (int i = 0; i < bytes.length; ++i) {
      int b = byteOf(s.charAt(i));
      if (b < 0)
        throw refusal(s, i);
      bytes[i] = (byte) b;
    }
    return bytes;
  }

  public static String decode(byte[] bytes) {
    char[] chars = new char[bytes.length];
    for (int i = 0; i < bytes.length; ++i) {
      int b = bytes[i] & 0xFF;
      chars[i] = b >= 0x80 && b <= 0x9F ? HIGH[b - 0x80] : (char) b;
    }
    return new String(chars);
  }

  static IllegalArgumentException refusal(String s, int index) {
    int code = s.codePointAt(index);
    return new IllegalArgumentException(
        String.format("O caractere U+%04X '%s' (posi\u00E7\u00E3o %d) n\u00E3o existe em "
                + "Windows-1252",
            code, new String(Character.toChars(code)), index + 1));
  }

  static IllegalArgumentException refusal(char c) {
    return new IllegalArgumentException(
        String.format("O caractere U+%04X '%c' n\u00E3o existe em Windows-1252", (int) c, c));
  }
}
