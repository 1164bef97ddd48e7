// The reader of the CD index.
#include "project/cd_index.h"

#include "platform/files/file_system.h"
#include "project/field_reader.h"

namespace taviro::project {

const CdIndexRecord* CdIndex::Find(std::string_view title) const {
    const std::string folded = platform::FoldCase(title);
    for (const CdIndexRecord& record : records)
        if (platform::FoldCase(record.name) == folded) return &record;
    return nullptr;
}

CdIndex ReadCdIndex(std::string text) {
    FieldReader reader(std::move(text));
    CdIndex index;
    reader.Skip(3);
    index.cdCount = reader.ReadInteger();
    reader.Skip(2);
    while (!reader.AtEnd()) {
        CdIndexRecord record;
        record.name = reader.ReadString();
        record.folderCode = reader.ReadInteger();
        record.cdNumber = reader.ReadInteger();
        if (!record.name.empty() && record.folderCode != 0 && record.cdNumber >= 1 &&
            record.cdNumber <= index.cdCount)
            index.records.push_back(std::move(record));
    }
    return index;
}

}  // namespace taviro::project
