#pragma once
// Non-blocking IPv4 stream sockets with bounded waits.
#include <cstddef>
#include <cstdint>

#include "link/Platform.h"

namespace tallyx::tcp {

OpenResult Open();
ConnectState Connect(int fd, uint32_t address, uint16_t port);
ConnectState WaitConnected(int fd, int timeoutMs);
long Send(int fd, const uint8_t* data, size_t n);
void WaitWritable(int fd, int timeoutMs);
size_t Receive(int fd, uint8_t* data, size_t capacity, int timeoutMs);
void CloseGracefully(int fd, int lingerMs);
void Close(int fd);

} // namespace tallyx::tcp
