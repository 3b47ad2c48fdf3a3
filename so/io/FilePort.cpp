#include "so/io/FilePort.h"

#include "platform/system_error.h"

namespace QEL {
namespace IO {

FilePort::FilePort(const FilePortSettings& settings) : CSystemPort(&settings_), settings_(settings) {}

FilePort::~FilePort() { Close(); }

int32_t FilePort::Open() {
  if (IsOpen()) Close();
  platform::SetLastSystemError(0);
  if (!SetDevicePath(settings_.GetOutputPath()) || !OpenDevice(output_)) return 0;
  if (!SetDevicePath(settings_.GetInputPath()) || !OpenDevice(input_)) {
    // A port that writes but cannot read would pass the printer's status
    // queries on to nothing; refuse it as a whole, keeping the reason.
    int error = platform::LastSystemError();
    output_.Close();
    platform::SetLastSystemError(error);
    return 0;
  }
  SetReady(true);
  SetByteWiseRead(false);
  ConfigureAfterOpen();
  SetOpenFlag(true);
  return 1;
}

void FilePort::Close() {
  input_.Close();
  output_.Close();
  SetOpenFlag(false);
  SetReady(false);
}

int32_t FilePort::Write(const uint8_t* data, int32_t offset, int32_t count) {
  return WriteTo(output_, data, offset, count);
}

int32_t FilePort::Read(uint8_t* buffer, int32_t offset, int32_t count, int32_t* received,
                       int32_t waitForAll) {
  return ReadFrom(input_, buffer, offset, count, received, 1);
}

int32_t FilePort::ReadAvailable(uint8_t* buffer, int32_t offset, int32_t count,
                                int32_t* received) {
  return ReadAvailableFrom(input_, buffer, offset, count, received);
}

}  // namespace IO
}  // namespace QEL
