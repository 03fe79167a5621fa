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

// Runs a caller's stream of files through the lanes.
class StreamFeed final : public MdLaneFeed {
public:
    explicit StreamFeed(THashSourceFeed& feed) : feed_(feed) {}

    bool Next(int lane, MdLaneMessage& message) override {
        HashBatchSource source;
        uint64_t id = 0;
        while (feed_.Next(source, id)) {
            if (source.source == nullptr) {
                feed_.Done(id, {kHashCannotOpen, {}});
                continue;
            }
            idOfLane_[lane] = id;
            message.source = source.source;
            message.size = source.size;
            return true;
        }
        return false;
    }

    void Finished(int lane, bool complete, const uint8_t* digest) override {
        HashBatchResult result;
        Record(result, complete, digest);
        feed_.Done(idOfLane_[lane], std::move(result));
    }

private:
    THashSourceFeed& feed_;
    uint64_t idOfLane_[kMdMaxLanes] = {};
};

// The files of a span, their results in its order.
class SpanFeed final : public THashSourceFeed {
public:
    SpanFeed(std::span<const HashBatchSource> sources, std::vector<HashBatchResult>& results)
        : sources_(sources), results_(results) {}

    bool Next(HashBatchSource& source, uint64_t& id) override {
        if (next_ == sources_.size()) {
            return false;
        }
        id = next_++;
        source = sources_[id];
        return true;
    }

    void Done(uint64_t id, HashBatchResult result) override { results_[id] = std::move(result); }

private:
    std::span<const HashBatchSource> sources_;
    std::vector<HashBatchResult>& results_;
    size_t next_ = 0;
};

} // namespace

HashBatchResult HashSource(int32_t method, const HashBatchSource& source) {
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
    SpanFeed feed(sources, results);
    HashSourceStream(method, feed, options);
    return results;
}

void HashSourceStream(int32_t method, THashSourceFeed& feed, const HashBatchOptions& options) {
    const std::optional<MdAlgorithm> algorithm = LaneAlgorithm(method);
    if (!algorithm) {
        HashBatchSource source;
        uint64_t id = 0;
        while (feed.Next(source, id)) {
            feed.Done(id, HashSource(method, source));
        }
        return;
    }
    StreamFeed lanes(feed);
    RunMdLanes(*algorithm, options.path, LaneCount(options), lanes);
}

} // namespace mirelon
