// The three input lists of a stack's rendering engine, as the main window hands them to a
// study box: the image files of the stack in stack order, the frame of each image inside its
// file, and the presentation-state files of the stack. Each entry is one line ended by LF; each
// list ends with one NUL, also when it has no entry.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace ORN_dicom {
class TanDicomFileSet;
}

namespace vistrel_main {

// The folder a lossy stack reads an image from, beside the image's file.
constexpr const char* kLossyFolder = "LOSSY";
// Transient key-image files are read where they are, also by a lossy stack.
constexpr const char* kKeyImageExtension = ".ornkitmp";

// Fills the lists of stack `stack` of series `series` of study `study` of patient `patient`.
// A stack without a stack key is given a new one, kept in its record; `key` receives it.
// False, with nothing written, while no file set is open (null or not valid), and when an
// image of the stack cannot be named: its index is outside the series' images, or its
// Referenced File ID is absolute or climbs out of the file-set folder (".."). A presentation
// state that cannot be named so is left out. A patient, study, series or stack index outside
// its set throws std::out_of_range.
bool FillEngineFileLists(ORN_dicom::TanDicomFileSet* fileSet, int32_t patient, int32_t study, int32_t series,
                         int32_t stack, bool lossy, std::ostream& images, std::ostream& presentationStates,
                         std::ostream& frames, std::string& key);

// The path a lossy stack reads: the folder "LOSSY" inserted before the file name, unless the
// path is a transient key-image file.
std::string LossyImagePath(const std::string& path);

}  // namespace vistrel_main
