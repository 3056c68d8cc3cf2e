// The engine's three input lists as the launcher publishes them: 8-bit text of LF-ended
// lines followed by one NUL (a CR before the LF is tolerated; nothing past the NUL is read).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ORN_engine {

// The lines of a list, read up to its NUL or its end, whichever comes first; a last line
// without its LF still counts, empty lines do not.
std::vector<std::string> ParseList(const uint8_t* data, size_t size);

struct InputLists {
  std::vector<std::string> Images;
  std::vector<std::string> PresentationStates;
  std::vector<int32_t> Frames;  // one per image; 0 where the frame list is short or not a number
};

// The three lists from their named mappings "StackImageFiles" + pid and so on; missing
// mappings give empty lists.
InputLists ReadInputLists(uint32_t pid);
// Frame numbers in decimal; anything else (or a negative value) is 0.
std::vector<int32_t> FrameNumbers(const std::vector<std::string>& lines, size_t count);

}  // namespace ORN_engine
