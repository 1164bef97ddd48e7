// The CD index ("CDContents"): which CD, and which of its folders, holds each media file of a game
// played from CD.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace taviro::project {

struct CdIndexRecord {
    std::string name;    // the file's title, as the index writes it
    int folderCode = 0;  // 1: the frames folder, 2: the areas folder
    int cdNumber = 0;    // 1 to the number of CDs
};

struct CdIndex {
    int cdCount = 0;
    std::vector<CdIndexRecord> records;

    // The record of a file title, letter case ignored; nullptr when the index does not hold it.
    const CdIndexRecord* Find(std::string_view title) const;
};

// Reads the index (decoded text): three values skipped, the number of CDs, two values skipped, then
// records of name, folder code and CD number to the end. A record with no name, folder code 0 or a
// CD number outside 1 to the number of CDs is left out. Throws GameError when the file is damaged.
CdIndex ReadCdIndex(std::string text);

}  // namespace taviro::project
