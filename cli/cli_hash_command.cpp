#include "cli/cli_hash_command.h"

#include "cli/cli_exit_codes.h"
#include "hash/hash_service.h"
#include "scan/path_separator.h"

#include <vector>

namespace mirelon {

namespace {

constexpr int32_t kDefaultMethod = kHashMethodFirst + 2; // "MD5", as the scan options
constexpr std::size_t kInputChunk = 64 * 1024;

int HashStream(int32_t method, std::istream& in, std::string& text) {
    HashContext context;
    int code = HashInit(&context, method);
    if (code != kHashOk) {
        return code;
    }
    std::vector<char> buffer(kInputChunk);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto count = static_cast<uint32_t>(in.gcount());
        if (count > 0 && (code = HashUpdate(&context, buffer.data(), count)) != kHashOk) {
            return code;
        }
    }
    if (in.bad()) {
        HashFinal(&context, text);
        text.clear();
        return kHashReadFailed;
    }
    return HashFinal(&context, text);
}

} // namespace

std::string ChecksumLine(const std::string& text, const std::string& path) {
    std::string escaped;
    bool needsEscape = false;
    for (const char c : path) {
        switch (c) {
        case '\\':
            // On Windows it separates names, which can hold no backslash, line feed or return:
            // the path needs no escape there.
            if (IsPathSeparator(c)) {
                escaped += c;
                break;
            }
            escaped += "\\\\";
            needsEscape = true;
            break;
        case '\n':
            escaped += "\\n";
            needsEscape = true;
            break;
        case '\r':
            escaped += "\\r";
            needsEscape = true;
            break;
        default:
            escaped += c;
        }
    }
    return (needsEscape ? "\\" : "") + text + "  " + escaped;
}

int RunHashCommand(const CliRequest& request, CliStreams& streams) {
    const int32_t method = request.method != 0 ? request.method : kDefaultMethod;
    std::vector<std::string> paths = request.paths;
    if (paths.empty()) {
        paths.push_back("-");
    }
    int exitCode = kExitSuccess;
    for (const std::string& path : paths) {
        std::string text;
        const int code =
            path == "-" ? HashStream(method, streams.in, text) : HashFile(method, path, text);
        if (code != kHashOk) {
            streams.out.flush();
            streams.err << "mirelon-cli: hash: " << path << ": " << HashFileFailureText(code)
                        << '\n';
            exitCode = kExitFailure;
            continue;
        }
        streams.out << ChecksumLine(text, path) << '\n';
    }
    streams.out.flush();
    return exitCode;
}

} // namespace mirelon
