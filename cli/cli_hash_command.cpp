#include "cli/cli_hash_command.h"

#include "base/utf8_path.h"
#include "cli/cli_exit_codes.h"
#include "hash/hash_batch.h"
#include "hash/hash_service.h"
#include "scan/path_separator.h"

#include <filesystem>
#include <vector>

namespace mirelon {

namespace {

constexpr int32_t kDefaultMethod = kHashMethodFirst + 2; // "MD5", as the scan options
constexpr std::size_t kInputChunk = 64 * 1024;
// Files handed to one batch: enough to keep every lane busy, few enough that the lines of the
// first files show up soon.
constexpr std::size_t kBatchPiece = 64;

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

// Whether `path` names a file small enough for the lanes; anything else (standard input, a
// large file, one that cannot be looked at) is hashed on its own.
bool GoesToBatch(int32_t method, const std::string& path) {
    if (path == "-") {
        return false;
    }
    std::error_code error;
    const std::filesystem::path file = PathFromUtf8(path);
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return !error && HashBatchSuits(method, size);
}

int RunHashCommand(const CliRequest& request, CliStreams& streams) {
    const int32_t method = request.method != 0 ? request.method : kDefaultMethod;
    std::vector<std::string> paths = request.paths;
    if (paths.empty()) {
        paths.push_back("-");
    }
    int exitCode = kExitSuccess;
    const auto print = [&](const std::string& path, int code, const std::string& text) {
        if (code != kHashOk) {
            streams.out.flush();
            streams.err << "mirelon-cli: hash: " << path << ": " << HashFileFailureText(code)
                        << '\n';
            exitCode = kExitFailure;
            return;
        }
        streams.out << ChecksumLine(text, path) << '\n';
    };
    // Small files run side by side in runs of consecutive arguments, so lines keep argument
    // order.
    std::vector<std::string> batch;
    const auto flushBatch = [&] {
        const std::vector<HashBatchResult> results = HashFileBatch(method, batch);
        for (std::size_t i = 0; i < batch.size(); ++i) {
            print(batch[i], results[i].code, results[i].text);
        }
        batch.clear();
    };
    for (const std::string& path : paths) {
        if (GoesToBatch(method, path)) {
            batch.push_back(path);
            if (batch.size() == kBatchPiece) {
                flushBatch();
            }
            continue;
        }
        if (!batch.empty()) {
            flushBatch();
        }
        std::string text;
        const int code =
            path == "-" ? HashStream(method, streams.in, text) : HashFile(method, path, text);
        print(path, code, text);
    }
    if (!batch.empty()) {
        flushBatch();
    }
    streams.out.flush();
    return exitCode;
}

} // namespace mirelon
