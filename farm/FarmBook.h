// The farm book: one GeoPackage (farm.gpkg) with the layers fields, headlands, lines and works,
// in WGS 84, written and read through GDAL's GPKG driver. Every write is one transaction: a
// power cut during it leaves the book as it was before. A FarmBook is used by one thread at a
// time (the farm thread, FarmWriter); nothing of GDAL's is shared with other threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "farm/FarmContents.h"

class GDALDataset;

class FarmBook {
  public:
    // Opens the book, creating it with its four layers when the file does not exist. Null, with
    // the reason in error, when it cannot be opened or is not a farm book.
    static std::unique_ptr<FarmBook> open(const std::string& path, std::string& error);
    ~FarmBook();
    FarmBook(const FarmBook&) = delete;
    FarmBook& operator=(const FarmBook&) = delete;

    const std::string& path() const { return path_; }

    // Every field, line and work's figures (not the works' ground).
    bool read(FarmContents& out, std::string& error);
    // One work's ground as it was saved.
    bool readWorkGround(std::int64_t workId, FieldShape& ground, std::string& error);

    // The new field's id, 0 on failure. The field's area is taken as given.
    std::int64_t addField(const FieldEntry& field, std::string& error);
    bool renameField(std::int64_t fieldId, const std::string& name, std::string& error);
    // Deletes the field with its headland, its lines and its works.
    bool deleteField(std::int64_t fieldId, std::string& error);
    bool setHeadland(std::int64_t fieldId, const FieldShape& headland, int passes, double widthM,
                     std::string& error);
    std::int64_t addLine(const LineEntry& line, std::string& error);
    // A work with id 0 is added; a work with the id of one in the book replaces it (a work
    // continued on another day). The work's id, 0 on failure.
    std::int64_t saveWork(const WorkEntry& work, const FieldShape& ground, std::string& error);

  private:
    FarmBook() = default;
    std::string path_;
    GDALDataset* dataset_ = nullptr;
};
