#pragma once
// The exit statuses of every program, after the BSD sysexits convention, so that a
// script calling any of them can tell a mistake in its call from bad input, a missing
// display or a file that could not be written.

namespace zd7240::exit_status {

inline constexpr int kOk = 0;
inline constexpr int kUsage = 64;       // the command line is wrong
inline constexpr int kData = 65;        // the input (a field, a job file, a theme) is wrong
inline constexpr int kNoInput = 66;     // an input file cannot be opened
inline constexpr int kUnavailable = 69; // something the program needs is not there
inline constexpr int kSoftware = 70;    // an internal step failed
inline constexpr int kOsError = 71;     // the system refused a resource (out of memory)
inline constexpr int kCantCreate = 73;  // an output cannot be created
inline constexpr int kIoError = 74;     // writing an output failed

} // namespace zd7240::exit_status
