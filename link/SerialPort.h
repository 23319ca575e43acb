#pragma once
// Serial devices through termios: raw 8N1, no flow control, DTR and RTS off.
#include <string>

#include "link/Platform.h"

namespace tallyx {

// "COMn" names /dev/ttyS(n-1); any other text is a device path used as it stands.
std::string SerialDevicePath(const std::string& portText);

// Only a terminal device opens: a file, FIFO, directory or other device is refused
// (ENOTTY) and left untouched.
OpenResult OpenSerialDevice(const std::string& portText);
void ConfigureSerialDevice(int fd, uint32_t baudRate);
void PurgeDevice(int fd);
// Every byte within timeoutMs; returns the bytes written.
size_t WriteAll(int fd, const uint8_t* data, size_t n, int64_t timeoutMs);
void DrainAndClose(int fd, WriteBound bound);

} // namespace tallyx
