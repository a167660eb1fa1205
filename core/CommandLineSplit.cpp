// Splitting the raw command line into arguments, and replacing part of one
// argument inside the raw text.
#include "CommandLine.h"

#include <algorithm>

namespace brevalo {

namespace {

// Characters 1 to 32 separate arguments; a zero ends the text. A double quote
// opens a stretch, up to the next double quote or the end, in which blanks
// belong to the argument. The quotes themselves are dropped; there is no
// escape character.
std::vector<CommandLineArgument> Split(std::string_view raw) {
    const auto at = [raw](std::size_t i) -> unsigned char {
        return i < raw.size() ? static_cast<unsigned char>(raw[i]) : 0;
    };
    std::vector<CommandLineArgument> list;
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
        CommandLineArgument arg;
        arg.begin = p;
        const auto take = [&](bool inQuotes) {
            arg.text += raw[p];
            arg.sourceIndex.push_back(p);
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

// A stretch of the raw text and what takes its place.
struct Splice {
    std::size_t first = 0; // raw-text index of the first character replaced
    std::size_t end = 0;   // one past the last
    std::string text;
};

// Argument `arg`'s characters from `offset` to its end become `replacement`.
Splice TailSplice(const CommandLineArgument& arg, std::size_t offset, std::string_view replacement) {
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
    Splice splice{arg.sourceIndex[offset], arg.sourceIndex.back() + 1, {}};
    if (needsQuotes && !inQuotes) {
        splice.text += '"';
        inQuotes = true;
    }
    splice.text += value;
    if (inQuotes != arg.quoted.back()) {
        splice.text += '"';
    }
    return splice;
}

} // namespace

CommandLine::CommandLine(std::string raw) : raw_(std::move(raw)), args_(Split(raw_)) {}

std::vector<std::string> CommandLine::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(args_.size());
    for (const CommandLineArgument& arg : args_) {
        texts.push_back(arg.text);
    }
    return texts;
}

std::string CommandLine::Rewritten(std::string_view programPath,
                                   const std::vector<Edit>& edits) const {
    std::vector<Splice> splices;
    if (!programPath.empty()) {
        std::string quoted = "\"";
        for (const char c : programPath) {
            if (c != '"') {
                quoted += c;
            }
        }
        quoted += '"';
        if (args_.empty()) {
            return quoted;
        }
        const CommandLineArgument& program = args_.front();
        const std::string_view span =
            std::string_view(raw_).substr(program.begin, program.end - program.begin);
        // Quoted whole, or unquoted (it then holds no blank), the path reads
        // the same to every reader of command lines. Quotes inside it are read
        // differently by the system, so such a part is replaced too.
        if (!SameTextIgnoringAsciiCase(program.text, programPath) ||
            (span != program.text && span != "\"" + program.text + "\"")) {
            splices.push_back({program.begin, program.end, quoted});
        }
    }
    for (const Edit& edit : edits) {
        const bool programReplaced = edit.item == 0 && !programPath.empty();
        if (!programReplaced && edit.item < args_.size() &&
            edit.offset < args_[edit.item].text.size()) {
            splices.push_back(TailSplice(args_[edit.item], edit.offset, edit.replacement));
        }
    }
    // From the end backwards, so that every splice finds its place unmoved.
    std::sort(splices.begin(), splices.end(),
              [](const Splice& a, const Splice& b) { return a.first > b.first; });
    std::string out = raw_;
    for (const Splice& splice : splices) {
        out.replace(splice.first, splice.end - splice.first, splice.text);
    }
    return out;
}

std::vector<std::string> SplitCommandLine(std::string_view raw) {
    return CommandLine(std::string(raw)).Texts();
}

std::string ReplaceArgumentTail(std::string_view raw, std::size_t item, std::size_t offset,
                                std::string_view replacement) {
    return CommandLine(std::string(raw)).Rewritten({}, {{item, offset, std::string(replacement)}});
}

std::string WithProgramPath(std::string_view raw, std::string_view programPath) {
    return CommandLine(std::string(raw)).Rewritten(programPath, {});
}

} // namespace brevalo
