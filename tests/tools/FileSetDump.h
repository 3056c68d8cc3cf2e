// dicom_dump --fileset DICOMDIR and dicom_dump --build FOLDER: the record tree of a file set, one
// line per record (two blanks per level, the record type, its key attributes, its Referenced File
// ID, and for a stack its key and image count). --build makes the file set from the folder as
// the workstation's open-folder command does and saves its DICOMDIR into the folder first;
// dicom_dump --build FOLDER REJECT moves the files that cannot be added into REJECT, with its log.
// dicom_dump --rework DICOMDIR opens the file set and runs the passes of a new one over it
// (stacks, pixel-data index, save), then prints its tree.
#pragma once

namespace dump {

// The exit status of a file-set mode, or -1 when the arguments name none.
int FileSetMode(int argc, char** argv);

}  // namespace dump
