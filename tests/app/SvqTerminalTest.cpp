// Texts from a dictionary are untrusted: on a terminal their control characters
// and bidirectional controls are shown as escapes; through a pipe they pass as stored.
#include "app/SvqCommon.h"
#include "app/SvqProgram.h"
#include "tests/support/SvProcess.h"
#include "tests/support/SvqTestWriter.h"
#include "text/SvErrors.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using sv::EscapeControls;
using sv::test::TSvqTestFile;
using sv::test::TSvTempDir;

extern char** environ;

namespace {

// Runs the tool on a pseudo-terminal in raw mode, so the bytes arrive unchanged.
std::string RunOnTerminal(const std::vector<std::string>& args, const std::string& directory) {
  termios raw{};
  ::cfmakeraw(&raw);
  int master = -1;
  const pid_t pid = ::forkpty(&master, nullptr, &raw, nullptr);
  if (pid < 0)
    throw std::runtime_error("forkpty failed");
  if (pid == 0) {
    if (::chdir(directory.c_str()) != 0)
      ::_exit(126);
    ::setenv("LC_ALL", "C.UTF-8", 1);
    std::vector<char*> argv{const_cast<char*>(SVQPEEK_EXE)};
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execve(SVQPEEK_EXE, argv.data(), environ);
    ::_exit(127);
  }
  std::string output;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n > 0)
      output.append(buffer, static_cast<std::size_t>(n));
    else if (n < 0 && errno == EINTR)
      continue;
    else
      break; // EIO once the child has closed the terminal
  }
  ::close(master);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return output;
}

TSvqTestFile Hostile() {
  TSvqTestFile file;
  file.CharacterSet = 1;
  file.Languages.resize(2);
  file.Languages[1].Name = "Right\xE2\x80\xAEto left";
  file.Rows = {
      {{u"line\nbreak\r\ttab", u"\u202Eevil\x1b]0;title\a\u0085\u009B2J\u2066x\u2069"}, u"", u""}};
  file.Information.Description = "Caf\xE9 \x1B[31m red \x7F";
  return file;
}

} // namespace

TEST(SvqTerminal, EscapesOnATerminalExactBytesThroughAPipe) {
  TSvTempDir dir;
  Hostile().Save(dir.File("dict.svq"));
  const std::string tty = RunOnTerminal({"-t", "dict"}, dir.Path());
  const std::string pipe =
      sv::test::RunProcess(SVQPEEK_EXE, {"-t", "dict"}, dir.Path(), {"LC_ALL=C.UTF-8"}).Output;

  EXPECT_NE(tty.find("#1: Right\\u202Eto left, en_US\n"), std::string::npos) << tty;
  EXPECT_NE(tty.find("#0: \"line\\nbreak\\r\\ttab\", "
                     "\"\\u202Eevil\\x1B]0;title\\x07\\x85\\x9B2J\\u2066x\\u2069\"\n"),
            std::string::npos)
      << tty;
  // A byte of no UTF-8 sequence above 0x9F passes; the controls do not.
  EXPECT_NE(tty.find("Description: Caf\xE9 \\x1B[31m red \\x7F\n"), std::string::npos) << tty;

  EXPECT_NE(pipe.find("#1: Right\xE2\x80\xAEto left, en_US\n"), std::string::npos);
  EXPECT_NE(pipe.find("#0: \"line\nbreak\r\ttab\", "
                      "\"\xE2\x80\xAE"
                      "evil\x1b]0;title\a\xC2\x85\xC2\x9B"
                      "2J\xE2\x81\xA6x\xE2\x81\xA9\"\n"),
            std::string::npos)
      << pipe;
  EXPECT_NE(pipe.find("Description: Caf\xE9 \x1B[31m red \x7F\n"), std::string::npos);
  // Apart from the texts, both outputs are the same lines.
  EXPECT_EQ(tty.substr(0, tty.find("Languages:")), pipe.substr(0, pipe.find("Languages:")));
}

TEST(SvqTerminal, ErrorReportKeepsItsLineBreaksOnATerminal) {
  TSvTempDir dir;
  TSvqTestFile file = Hostile();
  file.Magic = "XYZ";
  file.Save(dir.File("dict.svq"));
  const std::string tty = RunOnTerminal({"dict"}, dir.Path());
  EXPECT_NE(tty.find("\r\nThe stream is not a valid SVQ stream.\r\n\n"), std::string::npos) << tty;
  // A message that names a file shows its control characters as escapes.
  EXPECT_NE(
      sv::UncaughtErrorReport(std::make_exception_ptr(sv::ESvError("Cannot open file a\x1B]0;b")),
                              "SvqPeek", true)
          .find("\r\nCannot open file a\\x1B]0;b.\r\n\n"),
      std::string::npos);
}

TEST(SvqTerminal, EscapeControlsInUtf8AndInEightBitText) {
  EXPECT_EQ(EscapeControls("plain \xC3\xA9t\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80", true),
            "plain \xC3\xA9t\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80");
  EXPECT_EQ(EscapeControls(std::string("a\0b\x1F\x7F", 5), true), "a\\x00b\\x1F\\x7F");
  // U+0080, U+009F, U+00A0: the last is no control.
  EXPECT_EQ(EscapeControls("\xC2\x80\xC2\x9F\xC2\xA0", true), "\\x80\\x9F\xC2\xA0");
  // U+202A-U+202E and U+2066-U+2069, but not their neighbours U+2029, U+202F, U+2065, U+206A.
  EXPECT_EQ(EscapeControls("\xE2\x80\xAA\xE2\x80\xAE\xE2\x81\xA6\xE2\x81\xA9", true),
            "\\u202A\\u202E\\u2066\\u2069");
  EXPECT_EQ(EscapeControls("\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA", true),
            "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA");
  // Bytes of no valid sequence: stray C1 bytes are escaped, a cut sequence is not completed.
  EXPECT_EQ(EscapeControls("\x9B\xE9\xE2\x80", true), "\\x9B\xE9\xE2\\x80");
  EXPECT_EQ(EscapeControls("\xE2\x80", true).find('\x80'), std::string::npos);
  // An 8-bit code page: 0x80-0x9F are the C1 controls, the rest are characters.
  EXPECT_EQ(EscapeControls("\x85\x9B\xA0\xE9\n", false), "\\x85\\x9B\xA0\xE9\\n");
}
