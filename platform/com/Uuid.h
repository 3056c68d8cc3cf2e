// UUID creation as the RPC runtime offers it: a random (version 4) UUID, its text form and
// the release of that text.
#pragma once

#include <cstdint>

#include "platform/com/Guid.h"

namespace platform::com {

using UUID = GUID;
using RPC_STATUS = int32_t;

inline constexpr RPC_STATUS RPC_S_OK = 0;
inline constexpr RPC_STATUS RPC_S_OUT_OF_MEMORY = 14;
inline constexpr RPC_STATUS RPC_S_INVALID_ARG = 87;
inline constexpr RPC_STATUS RPC_S_UUID_NO_ADDRESS = 1739;

// A new random UUID from the kernel's random source; RPC_S_UUID_NO_ADDRESS when none can be had.
RPC_STATUS UuidCreate(UUID* uuid);

// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" in lower-case hexadecimal, allocated for the caller,
// who frees it with RpcStringFreeA.
RPC_STATUS UuidToStringA(const UUID* uuid, unsigned char** text);
RPC_STATUS RpcStringFreeA(unsigned char** text);

}  // namespace platform::com
