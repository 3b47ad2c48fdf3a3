#include "sim/render/receipt_files.h"

#include "sim/png_file.h"

namespace sim {
namespace render {

std::vector<std::string> WriteReceiptFiles(const std::string& directory, const std::string& stem,
                                           const std::vector<PrintedImage>& receipts) {
  std::vector<std::string> written;
  for (size_t i = 0; i < receipts.size(); ++i) {
    const std::string path = directory + "/" + stem + "-" + std::to_string(i + 1) + ".png";
    if (WritePngFile(path, receipts[i])) written.push_back(path);
  }
  return written;
}

}  // namespace render
}  // namespace sim
