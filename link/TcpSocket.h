#pragma once
// Non-blocking IPv4 stream sockets with bounded waits.
#include <cstddef>
#include <cstdint>
#include <stop_token>

#include "link/Platform.h"

namespace tallyx::tcp {

OpenResult Open();
ConnectState Connect(int fd, uint32_t address, uint16_t port);
// Every wait ends early when stop is requested.
ConnectState WaitConnected(int fd, int timeoutMs, std::stop_token stop);
long Send(int fd, const uint8_t* data, size_t n);
void WaitWritable(int fd, int timeoutMs, std::stop_token stop);
size_t Receive(int fd, uint8_t* data, size_t capacity, int timeoutMs, std::stop_token stop);
void CloseGracefully(int fd, int lingerMs, std::stop_token stop);
void Close(int fd);

} // namespace tallyx::tcp
