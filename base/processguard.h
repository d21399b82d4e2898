#pragma once
// What every command-line program of the project does the same way: ends promptly on
// SIGINT, SIGTERM or SIGHUP (even while blocked opening a FIFO or writing to a stalled
// pipe) without leaving a temporary file, reports standard output that was lost, and
// shows text from outside (field values, names read from a file) with its control
// characters escaped so that they cannot act on the terminal.

#include <string>
#include <string_view>

namespace zd7240 {

// The exit status of a program ended by `signal`: 128 + its number (130 for SIGINT,
// 143 for SIGTERM, 129 for SIGHUP).
int InterruptStatus(int signal);

// Installs handlers for SIGINT, SIGTERM and SIGHUP that remove the temporary files
// registered below, write "PROGRAM: interrupted" and the note set by
// SetInterruptNote to standard error, and end the process at once with
// InterruptStatus(signal). The handlers do not restart interrupted system calls.
void ExitOnInterrupt(const char* program);
// Completes the interrupt message, for example "; x.txt was left as it was".
void SetInterruptNote(std::string_view note);

// A temporary file that the interrupt handler removes; ScriptWriter registers its
// temporaries while it writes them. Without ExitOnInterrupt this is bookkeeping only.
// Any number may be registered at once (the slots grow as needed). Returns a slot
// number, or -1 for a path too long to keep (the file is then not removed on an
// interrupt; the next writer into its folder removes it).
int RegisterTemporary(const std::string& path);
void ForgetTemporary(int slot);

// Makes sure descriptors 0, 1 and 2 are open, so that files opened later cannot take
// their numbers. A closed one is replaced by /dev/null opened read-only: reading it
// gives end of file, writing to it fails, and standard output written there counts as
// lost.
void GuardStandardDescriptors();

// Flushes and closes standard output (std::cout and stdout). Returns 0 when everything
// written to it arrived, otherwise the errno value of the failure.
int CloseStandardOutput();

// `program`'s exit status after closing standard output: `status` when the output
// arrived, otherwise 74 with "PROGRAM: cannot write standard output: REASON" on
// standard error.
int FinishStandardOutput(const char* program, int status);

// Text from outside for a message or a listing: control characters become \n, \r,
// \t or \xHH, and so do bytes that are not valid UTF-8, the C1 control characters
// (U+0085 is \xc2\x85) and the characters that turn the direction of the text after
// them (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069; U+202E is
// \xe2\x80\xae): each of their bytes is shown as \xHH. With `escapeBackslash` a
// backslash becomes \\ as well, so that the text can be read back unambiguously.
std::string EscapeText(std::string_view text, bool escapeBackslash = false);
// A value from outside quoted back in a message: EscapeText of its first `characters`
// characters, and when it is longer, "... (20971520 bytes)" after them, so that a huge
// value does not bury the message.
std::string EchoedText(std::string_view text, std::size_t characters = 80);
// The same for 8-bit text whose every byte is a Latin-1 character (names and texts in
// theme files): bytes 0x80 to 0x9f, the C1 control characters, become \xHH and the
// others come out as the UTF-8 of their character.
std::string EscapeLatin1Text(std::string_view text, bool escapeBackslash = false);

} // namespace zd7240
