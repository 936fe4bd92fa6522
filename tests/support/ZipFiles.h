// ZIP archives for the tests of the documents that are archives (.docx, .odt, .epub),
// made with libzip.
#ifndef QUILLMOOR_TESTS_SUPPORT_ZIPFILES_H_
#define QUILLMOOR_TESTS_SUPPORT_ZIPFILES_H_

#include <gtest/gtest.h>
#include <zip.h>

#include <string>
#include <utility>
#include <vector>

namespace quillmoor::testing {

// Writes a ZIP archive at `path` holding `entries` (name, data), deflated.
inline void WriteZip(const std::string& path,
                     const std::vector<std::pair<std::string, std::string>>& entries) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr);
  for (const auto& [name, data] : entries) {
    zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
    ASSERT_NE(source, nullptr);
    ASSERT_GE(zip_file_add(archive, name.c_str(), source, ZIP_FL_OVERWRITE), 0);
  }
  ASSERT_EQ(zip_close(archive), 0);
}

}  // namespace quillmoor::testing

#endif  // QUILLMOOR_TESTS_SUPPORT_ZIPFILES_H_
