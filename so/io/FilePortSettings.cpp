#include "so/io/FilePortSettings.h"

namespace QEL {
namespace IO {

FilePortSettings::FilePortSettings() : CPortSettingsBase(u"FILE", u"Auto") {}

std::u16string FilePortSettings::ToString() {
  SetSettingsText(outputPath_ + u"," + inputPath_);
  return GetSettingsText();
}

void FilePortSettings::Parse(const std::u16string& text) {
  std::vector<std::u16string> fields = CheckAndTokenize(text);
  std::u16string output = outputPath_;
  std::u16string input = inputPath_;
  if (fields.size() >= 1) {
    CheckFits("output file path", fields[0], kPathCapacity);
    output = fields[0];
  }
  if (fields.size() >= 2) {
    CheckFits("input file path", fields[1], kPathCapacity);
    input = fields[1];
  }
  SetSettingsText(text);
  outputPath_ = output;
  inputPath_ = input;
}

}  // namespace IO
}  // namespace QEL
