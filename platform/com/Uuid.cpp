#include "platform/com/Uuid.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdio>
#include <new>

namespace platform::com {

RPC_STATUS UuidCreate(UUID* uuid) {
  if (uuid == nullptr) return RPC_S_INVALID_ARG;
  unsigned char bytes[16];
  size_t got = 0;
  while (got < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + got, sizeof bytes - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      return RPC_S_UUID_NO_ADDRESS;
    }
    got += static_cast<size_t>(n);
  }
  uuid->Data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
  uuid->Data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
  // Version 4 (random) in the top bits of Data3, the RFC 4122 variant in Data4[0].
  uuid->Data3 = static_cast<uint16_t>(((bytes[6] & 0x0F) | 0x40) << 8 | bytes[7]);
  uuid->Data4[0] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
  for (int i = 1; i < 8; ++i) uuid->Data4[i] = bytes[8 + i];
  return RPC_S_OK;
}

RPC_STATUS UuidToStringA(const UUID* uuid, unsigned char** text) {
  if (uuid == nullptr || text == nullptr) return RPC_S_INVALID_ARG;
  char* out = new (std::nothrow) char[37];
  if (out == nullptr) return RPC_S_OUT_OF_MEMORY;
  std::snprintf(out, 37, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", uuid->Data1, uuid->Data2, uuid->Data3,
                uuid->Data4[0], uuid->Data4[1], uuid->Data4[2], uuid->Data4[3], uuid->Data4[4], uuid->Data4[5],
                uuid->Data4[6], uuid->Data4[7]);
  *text = reinterpret_cast<unsigned char*>(out);
  return RPC_S_OK;
}

RPC_STATUS RpcStringFreeA(unsigned char** text) {
  if (text == nullptr) return RPC_S_INVALID_ARG;
  delete[] reinterpret_cast<char*>(*text);
  *text = nullptr;
  return RPC_S_OK;
}

}  // namespace platform::com
