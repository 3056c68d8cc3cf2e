// Loading a shared object by file name, as LoadLibrary does for a DLL: a bare file name is
// looked for beside the running program first, then in the current folder (never on the
// system library path); a name with a folder is taken as it is. Failures set the last error:
// ModNotFound for a missing file, BadExeFormat for a file that is not a loadable module,
// ProcNotFound for a missing exported symbol.
#pragma once

#include <string>

namespace platform {

// An opaque module handle; null means none.
using ModuleHandle = void*;

ModuleHandle LoadModule(const std::string& fileName);
void* ModuleSymbol(ModuleHandle module, const char* name);
bool FreeModule(ModuleHandle module);

// Full path of the running program (GetModuleFileName of the executable); empty when unknown.
std::string ModuleFileName();
std::wstring ModuleFileNameW();

// The folder of the running program with a trailing "/", or empty when unknown.
std::string ProgramFolder();

// UTF-8 <-> wide text at the boundary of file and loader calls.
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);

}  // namespace platform
