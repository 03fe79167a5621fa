#pragma once

// Hashing many files at once. With MD4 and MD5 the files run side by side in SIMD lanes (see
// md_lanes.h), several per core; each file still gets exactly the code and checksum text that
// HashFile gives it, and a file that fails changes nothing for the others. Other methods hash
// the files one after another with HashFile's code.
//
// Meant for two callers:
// - a scan worker that takes files from a queue: it streams the files HashBatchSuits accepts
//   (small and medium ones) through HashSourceStream, handing over the next file as soon as a
//   lane comes free and taking each result as soon as its lane is done, and hashes large files
//   one by one with HashSource, so that the lanes are never held up by one long file. It opens
//   the files itself; the lanes only read them.
// - `mirelon-cli hash FILE...`: hands the named files over in pieces of a few dozen and prints
//   each piece's results in argument order before the next.
//
// A call runs on the calling thread and needs no locking; calls on several threads run side by
// side, each call with its own lanes and read buffers (1 MiB).

#include "hash/byte_source.h"
#include "hash/md_lanes.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace mirelon {

// One file's outcome: `code` is HashFile's result code (0, or 1 unknown method, 4 read failed,
// 5 could not be opened) and `text` its checksum text, empty unless `code` is 0.
struct HashBatchResult {
    int code = 0;
    std::string text;
};

// An already open file: hashed from offset 0 up to `size`, its size when it was opened. A null
// `source` stands for a file that could not be opened and gets code 5.
struct HashBatchSource {
    ByteSource* source = nullptr;
    uint64_t size = 0;
};

// How the lanes run: the path and the number of lanes (0 for the path's width). Tests and
// benchmarks set them; everyone else keeps the defaults.
struct HashBatchOptions {
    MdLanePath path = SelectedMdLanePath();
    int lanes = 0;
};

// Files up to this size are worth a batch; larger ones run long enough on their own.
inline constexpr uint64_t kHashBatchFileLimit = uint64_t{4} << 20;

// Whether a file of `size` bytes gains from a batch with `method`: MD4 or MD5, a SIMD path on
// this processor, and no more than kHashBatchFileLimit bytes. Any file may go into a batch;
// this only tells where it goes fastest.
bool HashBatchSuits(int32_t method, uint64_t size);

// The results of HashFile(method, name) for every name, in the order of `fileNames`. Each file
// is opened only when a lane takes it, so a batch holds at most one open file per lane.
std::vector<HashBatchResult> HashFileBatch(int32_t method, std::span<const std::string> fileNames,
                                           const HashBatchOptions& options = {});

// The same for files opened by the caller, in the order of `sources`. The sources stay open.
std::vector<HashBatchResult> HashSourceBatch(int32_t method,
                                             std::span<const HashBatchSource> sources,
                                             const HashBatchOptions& options = {});

// Files that come one at a time, for HashSourceStream: the next is asked for when a lane comes
// free, and each result is handed back as soon as its lane is done, while the others go on.
class THashSourceFeed {
public:
    // The next file and the number the caller knows it by; false when there is none now, after
    // which it is not asked again. A null source gets code 5 at once.
    virtual bool Next(HashBatchSource& source, uint64_t& id) = 0;
    // The result for the file Next gave as `id`; its source is not read again.
    virtual void Done(uint64_t id, HashBatchResult result) = 0;

protected:
    ~THashSourceFeed() = default;
};

// HashSourceBatch for files that come one at a time.
void HashSourceStream(int32_t method, THashSourceFeed& feed, const HashBatchOptions& options = {});

// HashFile's steps, with the single-stream code, on one file opened by the caller: for a file
// that does not suit a batch, or one alone.
HashBatchResult HashSource(int32_t method, const HashBatchSource& source);

} // namespace mirelon
