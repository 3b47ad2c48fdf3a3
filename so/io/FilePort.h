#pragma once
// A "printer" made of two existing files: output goes to one, replies are read
// from the other. Serves for capturing output without a printer.
#include "platform/device_file.h"
#include "so/io/CSystemPort.h"
#include "so/io/FilePortSettings.h"

namespace QEL {
namespace IO {

class FilePort : public CSystemPort {
 public:
  explicit FilePort(const FilePortSettings& settings);
  ~FilePort() override;

  // Opens the output file, then the input file; both must exist and are held
  // exclusively. When the input file cannot be opened the output file is
  // closed again and Open returns 0: the port is either fully open or closed.
  int32_t Open() override;
  void Close() override;
  int32_t Write(const uint8_t* data, int32_t offset, int32_t count) override;
  // Always waits for all `count` bytes (within the read passes), whatever the
  // caller asked: a file has no reply timing to wait for.
  int32_t Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
               int32_t waitForAll) override;
  // Reads from the input file.
  int32_t ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                        int32_t* received) override;
  void RefreshDevicePath() override {}
  void ConfigureAfterOpen() override {}

 private:
  FilePortSettings settings_;
  platform::DeviceFile output_;
  platform::DeviceFile input_;
};

}  // namespace IO
}  // namespace QEL
