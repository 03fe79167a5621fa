#include "hash/hash_batch.h"

#include "base/hex_text.h"
#include "hash/file_reader.h"
#include "hash/hash_range.h"
#include "hash/hash_service.h"
#include "hash/md_lane_kernel.h"

#include <optional>

namespace mirelon {

namespace {

constexpr int32_t kMd4Method = 258;
constexpr int32_t kMd5Method = 259;

std::optional<MdAlgorithm> LaneAlgorithm(int32_t method) {
    if (method == kMd4Method) {
        return MdAlgorithm::kMd4;
    }
    if (method == kMd5Method) {
        return MdAlgorithm::kMd5;
    }
    return std::nullopt;
}

// A single stream needs no more than one lane on the scalar path.
int LaneCount(const HashBatchOptions& options) {
    if (options.lanes > 0) {
        return options.lanes;
    }
    return options.path == MdLanePath::kScalar ? 1 : MdLaneWidth(options.path);
}

void Record(HashBatchResult& result, bool complete, const uint8_t* digest) {
    result.code = complete ? kHashOk : kHashReadFailed;
    result.text = complete ? DigestText(digest, 16) : std::string();
}

// Opens each file when a lane takes it, and closes it when the lane is done with it.
class FileFeed final : public MdLaneFeed {
public:
    FileFeed(std::span<const std::string> fileNames, std::vector<HashBatchResult>& results)
        : fileNames_(fileNames), results_(results) {}

    bool Next(int lane, MdLaneMessage& message) override {
        while (next_ < fileNames_.size()) {
            const size_t index = next_++;
            FileReader& reader = readers_[lane];
            if (!reader.Open(fileNames_[index])) {
                results_[index].code = kHashCannotOpen;
                continue;
            }
            indexOfLane_[lane] = index;
            message.source = &reader;
            message.size = reader.Size();
            return true;
        }
        return false;
    }

    void Finished(int lane, bool complete, const uint8_t* digest) override {
        readers_[lane].Close();
        Record(results_[indexOfLane_[lane]], complete, digest);
    }

private:
    std::span<const std::string> fileNames_;
    std::vector<HashBatchResult>& results_;
    size_t next_ = 0;
    FileReader readers_[kMdMaxLanes];
    size_t indexOfLane_[kMdMaxLanes] = {};
};

class SourceFeed final : public MdLaneFeed {
public:
    SourceFeed(std::span<const HashBatchSource> sources, std::vector<HashBatchResult>& results)
        : sources_(sources), results_(results) {}

    bool Next(int lane, MdLaneMessage& message) override {
        while (next_ < sources_.size()) {
            const size_t index = next_++;
            if (sources_[index].source == nullptr) {
                results_[index].code = kHashCannotOpen;
                continue;
            }
            indexOfLane_[lane] = index;
            message.source = sources_[index].source;
            message.size = sources_[index].size;
            return true;
        }
        return false;
    }

    void Finished(int lane, bool complete, const uint8_t* digest) override {
        Record(results_[indexOfLane_[lane]], complete, digest);
    }

private:
    std::span<const HashBatchSource> sources_;
    std::vector<HashBatchResult>& results_;
    size_t next_ = 0;
    size_t indexOfLane_[kMdMaxLanes] = {};
};

// HashFile's steps on a source that is already open.
HashBatchResult HashOpenSource(int32_t method, const HashBatchSource& source) {
    HashBatchResult result;
    if (source.source == nullptr) {
        result.code = kHashCannotOpen;
        return result;
    }
    HashContext context;
    result.code = HashInit(&context, method);
    if (result.code == kHashOk && !HashRange(&context, *source.source, 0, source.size)) {
        result.code = kHashReadFailed;
    }
    if (result.code == kHashOk) {
        result.code = HashFinal(&context, result.text);
    }
    return result;
}

} // namespace

bool HashBatchSuits(int32_t method, uint64_t size) {
    return LaneAlgorithm(method).has_value() && SelectedMdLanePath() != MdLanePath::kScalar &&
           size <= kHashBatchFileLimit;
}

std::vector<HashBatchResult> HashFileBatch(int32_t method, std::span<const std::string> fileNames,
                                           const HashBatchOptions& options) {
    std::vector<HashBatchResult> results(fileNames.size());
    const std::optional<MdAlgorithm> algorithm = LaneAlgorithm(method);
    if (!algorithm) {
        for (size_t i = 0; i < fileNames.size(); ++i) {
            results[i].code = HashFile(method, fileNames[i], results[i].text);
        }
        return results;
    }
    FileFeed feed(fileNames, results);
    RunMdLanes(*algorithm, options.path, LaneCount(options), feed);
    return results;
}

std::vector<HashBatchResult> HashSourceBatch(int32_t method,
                                             std::span<const HashBatchSource> sources,
                                             const HashBatchOptions& options) {
    std::vector<HashBatchResult> results(sources.size());
    const std::optional<MdAlgorithm> algorithm = LaneAlgorithm(method);
    if (!algorithm) {
        for (size_t i = 0; i < sources.size(); ++i) {
            results[i] = HashOpenSource(method, sources[i]);
        }
        return results;
    }
    SourceFeed feed(sources, results);
    RunMdLanes(*algorithm, options.path, LaneCount(options), feed);
    return results;
}

} // namespace mirelon
