// Splitting the raw command line into arguments, and replacing part of one
// argument inside the raw text.
#include "CommandLine.h"

#include <algorithm>

namespace brevalo {

namespace {

struct RawArgument {
    CommandLineArgument argument;
    std::vector<bool> quoted; // whether each character lay inside a quoted stretch
    std::size_t begin = 0;    // raw-text span of the argument, its quotes included
    std::size_t end = 0;
};

// Characters 1 to 32 separate arguments; a zero ends the text. A double quote
// opens a stretch, up to the next double quote or the end, in which blanks
// belong to the argument. The quotes themselves are dropped; there is no
// escape character.
std::vector<RawArgument> Split(std::string_view raw) {
    const auto at = [raw](std::size_t i) -> unsigned char {
        return i < raw.size() ? static_cast<unsigned char>(raw[i]) : 0;
    };
    std::vector<RawArgument> list;
    std::size_t p = 0;
    for (;;) {
        // Skip separators and empty "" pairs where an argument would start.
        for (;;) {
            while (at(p) != 0 && at(p) <= ' ') {
                ++p;
            }
            if (at(p) == '"' && at(p + 1) == '"') {
                p += 2;
            } else {
                break;
            }
        }
        if (at(p) == 0) {
            break;
        }
        RawArgument arg;
        arg.begin = p;
        const auto take = [&](bool inQuotes) {
            arg.argument.text += raw[p];
            arg.argument.sourceIndex.push_back(p);
            arg.quoted.push_back(inQuotes);
            ++p;
        };
        while (at(p) > ' ') {
            if (at(p) == '"') {
                ++p;
                while (at(p) != 0 && at(p) != '"') {
                    take(true);
                }
                if (at(p) != 0) {
                    ++p;
                }
            } else {
                take(false);
            }
        }
        arg.end = std::min(p, raw.size());
        list.push_back(std::move(arg));
    }
    return list;
}

bool SameTextIgnoringAsciiCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<CommandLineArgument> SplitCommandLineDetailed(std::string_view raw) {
    std::vector<CommandLineArgument> list;
    for (auto& arg : Split(raw)) {
        list.push_back(std::move(arg.argument));
    }
    return list;
}

std::vector<std::string> SplitCommandLine(std::string_view raw) {
    std::vector<std::string> list;
    for (auto& arg : Split(raw)) {
        list.push_back(std::move(arg.argument.text));
    }
    return list;
}

std::string ReplaceArgumentTail(std::string_view raw, std::size_t item, std::size_t offset,
                                std::string_view replacement) {
    const std::vector<RawArgument> list = Split(raw);
    if (item >= list.size() || offset >= list[item].argument.text.size()) {
        return std::string(raw);
    }
    const RawArgument& arg = list[item];
    const std::size_t first = arg.argument.sourceIndex[offset];
    const std::size_t last = arg.argument.sourceIndex.back();

    // An argument can never hold a double quote or a zero, so they are dropped.
    std::string value;
    bool needsQuotes = false;
    for (const char c : replacement) {
        if (c == '"' || c == '\0') {
            continue;
        }
        needsQuotes = needsQuotes || static_cast<unsigned char>(c) <= ' ';
        value += c;
    }

    // The replaced stretch may hold double quotes of its own. Whatever it
    // held, the text after it must continue in the same quoting state as
    // before, so that the rest of the line splits exactly as it did.
    bool inQuotes = arg.quoted[offset];
    std::string stretch;
    if (needsQuotes && !inQuotes) {
        stretch += '"';
        inQuotes = true;
    }
    stretch += value;
    if (inQuotes != arg.quoted.back()) {
        stretch += '"';
    }

    std::string out(raw.substr(0, first));
    out += stretch;
    out += raw.substr(last + 1);
    return out;
}

std::string WithProgramPath(std::string_view raw, std::string_view programPath) {
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (c != '"') {
            quoted += c;
        }
    }
    quoted += '"';
    const std::vector<RawArgument> list = Split(raw);
    if (list.empty()) {
        return quoted;
    }
    const RawArgument& program = list.front();
    const std::string& text = program.argument.text;
    const std::string_view span = raw.substr(program.begin, program.end - program.begin);
    // Quoted whole, or unquoted (it then holds no blank), the path reads the
    // same to every reader of command lines. Quotes inside it are read
    // differently by the system, so such a part is replaced too.
    if (SameTextIgnoringAsciiCase(text, programPath) &&
        (span == text || span == "\"" + text + "\"")) {
        return std::string(raw);
    }
    return std::string(raw.substr(0, program.begin)) + quoted + std::string(raw.substr(program.end));
}

} // namespace brevalo
