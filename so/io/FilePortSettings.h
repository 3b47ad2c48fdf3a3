#pragma once
// Settings of the file port: "output path,input path".
#include <string>

#include "so/io/CPortSettingsBase.h"

namespace QEL {
namespace IO {

class FilePortSettings : public CPortSettingsBase {
 public:
  static constexpr size_t kPathCapacity = 254;

  FilePortSettings();

  std::u16string ToString() override;
  // Field 1: output path; field 2: input path. Absent fields keep their
  // paths, so a text of commas only changes nothing but the settings text.
  void Parse(const std::u16string& text) override;

  const std::u16string& GetOutputPath() const { return outputPath_; }
  const std::u16string& GetInputPath() const { return inputPath_; }

 private:
  std::u16string outputPath_;
  std::u16string inputPath_;
};

}  // namespace IO
}  // namespace QEL
