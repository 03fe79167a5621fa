#include "hash/hash_service.h"

#include "base/ascii_case.h"
#include "hash/file_reader.h"
#include "hash/hash_range.h"
#include "hash/method_table.h"

namespace mirelon {

namespace {

// The method whose state the context holds; nullptr when the context's method is unknown or no
// longer matches the state it opened with.
const HashMethod* OpenMethod(const HashContext& context) {
    if (context.state->method != context.method) {
        return nullptr;
    }
    return FindHashMethod(context.method);
}

} // namespace

int HashInit(HashContext* context, int32_t method) {
    if (context == nullptr) {
        return kHashNoContext;
    }
    const HashMethod* entry = FindHashMethod(method);
    if (entry == nullptr) {
        return kHashUnknownMethod;
    }
    context->state = entry->create();
    context->state->method = method;
    context->method = method;
    context->passes = entry->passes;
    return kHashOk;
}

int HashUpdate(HashContext* context, const void* bytes, uint32_t count) {
    if (context == nullptr) {
        return kHashNoContext;
    }
    if (context->state == nullptr) {
        return kHashNotOpen;
    }
    const HashMethod* entry = OpenMethod(*context);
    if (entry == nullptr) {
        return kHashUnknownMethod;
    }
    if (count > 0) {
        entry->update(*context->state, static_cast<const uint8_t*>(bytes), count, context->passes);
    }
    return kHashOk;
}

int HashFinal(HashContext* context, std::string& text) {
    if (context == nullptr) {
        return kHashNoContext;
    }
    if (context->state == nullptr) {
        return kHashNotOpen;
    }
    const HashMethod* entry = OpenMethod(*context);
    if (entry == nullptr) {
        return kHashUnknownMethod;
    }
    text = entry->finish(*context->state, context->passes);
    context->state.reset();
    return kHashOk;
}

int64_t HashFileSize(const std::string& fileName) {
    FileReader reader;
    if (!reader.Open(fileName)) {
        return -1;
    }
    return static_cast<int64_t>(reader.Size());
}

bool HashFileRange(HashContext* context, const std::string& fileName, uint64_t start,
                   uint64_t end) {
    if (context == nullptr || context->state == nullptr) {
        return false;
    }
    FileReader reader;
    return reader.Open(fileName) && HashRange(context, reader, start, end);
}

int HashFile(int32_t method, const FileLocation& file, std::string& text) {
    // One open serves both the size and the reading, so the file cannot be swapped in between.
    // The size comes first: a missing file reports kHashCannotOpen even for an unknown method.
    FileReader reader;
    if (!reader.Open(file)) {
        return kHashCannotOpen;
    }
    HashContext context;
    const int code = HashInit(&context, method);
    if (code != kHashOk) {
        return code;
    }
    if (!HashRange(&context, reader, 0, reader.Size())) {
        return kHashReadFailed;
    }
    return HashFinal(&context, text);
}

const char* HashFileFailureText(int code) {
    return code == kHashCannotOpen ? "cannot be opened for reading"
                                   : "could not be read to the end";
}

const char* HashMethodName(int32_t method) {
    const HashMethod* entry = FindHashMethod(method);
    return entry != nullptr ? entry->name : nullptr;
}

int32_t HashMethodByName(std::string_view name) {
    for (const HashMethod& entry : HashMethods()) {
        if (EqualIgnoringAsciiCase(name, entry.name)) {
            return entry.id;
        }
    }
    return 0;
}

int HashTextLength(int32_t method) {
    const HashMethod* entry = FindHashMethod(method);
    return entry != nullptr ? entry->textLength : 0;
}

} // namespace mirelon
