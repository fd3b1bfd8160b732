#include "topic_layout.h"

#include <cstddef>

#include "help_error.h"

namespace quor6::help {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;
constexpr std::uint32_t kPositionsPerBlock = 0x4000;
constexpr std::uint32_t kOffsetsPerBlock = 0x8000;
constexpr std::size_t kTopicHeaderData1Size = 28;

struct PlacedRecord {
    const TopicRecord* record = nullptr;
    std::size_t topicIndex = 0;
    std::size_t block = 0;
    std::size_t dataOffset = 0;  // inside the block's data area
    std::uint32_t position = 0;
};

std::uint32_t positionOf(std::size_t block, std::size_t dataOffset) {
    return static_cast<std::uint32_t>(block * kPositionsPerBlock + kTopicBlockHeaderSize +
                                      dataOffset);
}

// A header record with placeholder fields, which are filled in once everything is placed.
TopicRecord headerRecord(const std::string& title) {
    TopicRecord header;
    header.type = TopicRecord::kTopicHeader;
    header.data1.assign(kTopicHeaderData1Size, 0);
    header.data2.assign(title.begin(), title.end());
    header.data2.push_back(0);
    return header;
}

class Layout {
  public:
    explicit Layout(const std::vector<TopicContent>& topics);
    TopicLayout write() const;

  private:
    void place(const TopicRecord& record, std::size_t topicIndex);
    Bytes headerData1(std::size_t topicIndex) const;
    void writeBlockHeaders(ByteBuffer& file, std::size_t blockCount) const;

    const std::vector<TopicContent>& topics_;
    std::vector<TopicRecord> headers_;
    std::vector<PlacedRecord> placed_;
    std::vector<std::size_t> headerIndex_;  // per topic, its header's index in placed_
    std::vector<std::uint32_t> topicOffsets_;
    std::size_t block_ = 0;
    std::size_t dataOffset_ = 0;
    std::size_t characterCount_ = 0;  // of text records placed in the current block so far
};

Layout::Layout(const std::vector<TopicContent>& topics) : topics_(topics) {
    headers_.reserve(topics.size());  // place() keeps pointers into it
    for (std::size_t t = 0; t < topics.size(); ++t) {
        headers_.push_back(headerRecord(topics[t].title));
        if (headers_.back().size() > kTopicBlockDataSize) {
            throw HelpError(0, "topic " + std::to_string(t + 1) + " has too long a title");
        }
        headerIndex_.push_back(placed_.size());
        topicOffsets_.push_back(0);  // set by place()
        place(headers_.back(), t);
        for (const TopicRecord& record : topics[t].textRecords) {
            place(record, t);
        }
    }
}

void Layout::place(const TopicRecord& record, std::size_t topicIndex) {
    if (record.size() > kTopicBlockDataSize - dataOffset_) {
        ++block_;
        dataOffset_ = 0;
        characterCount_ = 0;
    }
    // A topic offset counts from the block its header lands in.
    if (record.type == TopicRecord::kTopicHeader) {
        topicOffsets_[topicIndex] =
            static_cast<std::uint32_t>(block_ * kOffsetsPerBlock + characterCount_);
    }
    placed_.push_back(
        PlacedRecord{&record, topicIndex, block_, dataOffset_, positionOf(block_, dataOffset_)});
    dataOffset_ += record.size();
    characterCount_ += record.topicLength();
}

Bytes Layout::headerData1(std::size_t topicIndex) const {
    const std::size_t first = headerIndex_[topicIndex];
    const std::size_t end =
        topicIndex + 1 < topics_.size() ? headerIndex_[topicIndex + 1] : placed_.size();
    std::uint32_t topicSize = 0;
    for (std::size_t i = first; i < end; ++i) {
        topicSize += static_cast<std::uint32_t>(placed_[i].record->size());
    }
    const bool hasPrevious = topicIndex > 0;
    const bool hasNext = topicIndex + 1 < topics_.size();
    ByteBuffer data1;
    data1.u32(topicSize);
    data1.u32(hasPrevious ? topicOffsets_[topicIndex - 1] : kNone);  // browse back
    data1.u32(hasNext ? topicOffsets_[topicIndex + 1] : kNone);      // browse forward
    data1.u32(static_cast<std::uint32_t>(topicIndex));
    data1.u32(kNone);  // no non-scrolling region
    data1.u32(first + 1 < end ? placed_[first + 1].position : kNone);
    data1.u32(hasNext ? placed_[end].position : kNone);
    return std::move(data1).bytes();
}

void Layout::writeBlockHeaders(ByteBuffer& file, std::size_t blockCount) const {
    std::uint32_t lastRecordBefore = kNone;
    std::uint32_t lastHeaderBefore = kNone;
    std::size_t next = 0;
    for (std::size_t block = 0; block < blockCount; ++block) {
        const std::size_t at = block * kTopicBlockSize;
        file.patchU32(at, lastRecordBefore);
        file.patchU32(at + 4, placed_[next].position);
        file.patchU32(at + 8, lastHeaderBefore);
        while (next < placed_.size() && placed_[next].block == block) {
            lastRecordBefore = placed_[next].position;
            if (placed_[next].record->type == TopicRecord::kTopicHeader) {
                lastHeaderBefore = placed_[next].position;
            }
            ++next;
        }
    }
}

TopicLayout Layout::write() const {
    const std::size_t blockCount = placed_.empty() ? 0 : placed_.back().block + 1;
    ByteBuffer file;
    // The viewer reads every block in full, the last one too: pad all of them.
    file.zeros(blockCount * kTopicBlockSize);
    writeBlockHeaders(file, blockCount);

    for (std::size_t i = 0; i < placed_.size(); ++i) {
        const PlacedRecord& placed = placed_[i];
        const TopicRecord& record = *placed.record;
        const Bytes data1 = record.type == TopicRecord::kTopicHeader
                                ? headerData1(placed.topicIndex)
                                : record.data1;
        ByteBuffer bytes;
        bytes.u32(static_cast<std::uint32_t>(record.size()));
        bytes.u32(static_cast<std::uint32_t>(record.data2.size()));
        bytes.u32(i > 0 ? placed_[i - 1].position : kNone);
        bytes.u32(i + 1 < placed_.size() ? placed_[i + 1].position : kNone);
        bytes.u32(static_cast<std::uint32_t>(TopicRecord::kHeaderSize + data1.size()));
        bytes.u8(record.type);
        bytes.append(data1);
        bytes.append(record.data2);

        const std::size_t at =
            placed.block * kTopicBlockSize + kTopicBlockHeaderSize + placed.dataOffset;
        file.overwrite(at, bytes.bytes());
    }
    return TopicLayout{std::move(file).bytes(), topicOffsets_};
}

}  // namespace

TopicLayout layOutTopics(const std::vector<TopicContent>& topics) {
    return Layout(topics).write();
}

}  // namespace quor6::help
