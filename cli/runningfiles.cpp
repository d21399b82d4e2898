#include "runningfiles.h"

#include <iostream>

#include "inputfile.h"
#include "messages.h"
#include "processguard.h"

namespace zd7240::cli {

namespace {

// Splits a stream into lines. A line longer than the longest a page writes is kept only
// up to that length (and the reader is told it was longer), so that a file of one 100 MB
// line costs no more memory than one of short lines.
class LineSplitter {
public:
    template <class Sink> bool Feed(std::string_view bytes, Sink&& sink) {
        while (!bytes.empty()) {
            const std::size_t end = bytes.find('\n');
            const std::string_view piece = bytes.substr(0, end);
            if (line_.size() <= RunningConfig::kMaxLine)
                line_.append(piece.substr(0, RunningConfig::kMaxLine + 1 - line_.size()));
            if (end == std::string_view::npos)
                return true;
            if (!sink(++number_, std::string_view(line_)))
                return false;
            line_.clear();
            bytes.remove_prefix(end + 1);
        }
        return true;
    }
    template <class Sink> bool Finish(Sink&& sink) {
        if (line_.empty())
            return true;
        const bool going = sink(++number_, std::string_view(line_));
        line_.clear();
        return going;
    }

private:
    std::string line_;
    std::uint64_t number_ = 0;
};

} // namespace

std::optional<int> ReadRunningFiles(const std::vector<std::string>& names, RunningConfig& running) {
    std::uint64_t unknown = 0;
    constexpr std::uint64_t kPrinted = 100;
    std::string why;
    std::vector<char> buffer(1 << 20);
    for (std::size_t f = 0; f < names.size(); ++f) {
        const std::string& name = names[f];
        const auto unreadable = [&](const std::string& reason) {
            std::cerr << "zd7240-gen: --against " + EscapeText(name) + ": " + reason + "\n";
            return kExitNoInput;
        };
        InputFile input(name);
        if (!input.problem().empty())
            return unreadable(input.isFolder() ? "is a folder, not a configuration"
                                               : input.problem());
        LineSplitter lines;
        const auto sink = [&](std::uint64_t number, std::string_view text) {
            if (running.Add(static_cast<std::uint32_t>(f), number, text, &why) ==
                RunningLineKind::Unknown) {
                if (++unknown <= kPrinted)
                    std::cerr << "zd7240-gen: " + EscapeText(name) + " line " +
                                     std::to_string(number) + ": " + why + ": " +
                                     EchoedText(text, 60) + "\n";
            }
            return true;
        };
        for (;;) {
            const std::ptrdiff_t n = input.Read(buffer.data(), buffer.size());
            if (n < 0)
                return unreadable(input.problem());
            if (n == 0)
                break;
            lines.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(n)), sink);
        }
        lines.Finish(sink);
    }
    if (unknown > kPrinted)
        std::cerr << "zd7240-gen: \u2026 and " + std::to_string(unknown - kPrinted) +
                         " more unknown \"pvc\" lines\n";
    if (unknown > 0) {
        std::cerr << "zd7240-gen: " << unknown
                  << " \"pvc\" line(s) of --against in no known format; nothing written\n";
        return kExitData;
    }
    return std::nullopt;
}

} // namespace zd7240::cli
