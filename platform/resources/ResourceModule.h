// Resource modules: data-only files (Lingopack_<language>.dll, the images module, the
// program's own "<program>.res") that are read and checked, never executed. The calls follow
// Win32's LoadLibrary / FindResource / LoadResource / LockResource / SizeofResource /
// EnumResourceNames / FreeLibrary; failures return null or false and set the last error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/resources/ResourceId.h"

namespace platform {

struct ResourceModuleData;
using ResourceModuleHandle = ResourceModuleData*;

struct ResourceEntry;
using ResourceHandle = const ResourceEntry*;

// Loads a module file (a bare name is looked for beside the program, then in the current
// folder). Null with ModNotFound (missing file) or BadExeFormat (not a module).
ResourceModuleHandle LoadResourceModule(const std::string& path);
// Ends a module from LoadResourceModule; its resource pointers become invalid.
bool FreeResourceModule(ResourceModuleHandle module);
// The program's own resources: "<program path>.res" beside it, or a module without
// resources when there is no such file. Never freed.
ResourceModuleHandle ExecutableModule();
// The path the module was loaded from.
std::string ResourceModuleFileName(ResourceModuleHandle module);

// Null with ResourceTypeNotFound or ResourceNameNotFound.
ResourceHandle FindResource(ResourceModuleHandle module, const ResourceId& name, const ResourceId& type);
// The resource's bytes (LoadResource and LockResource in one); null for a null handle.
const void* LoadResource(ResourceModuleHandle module, ResourceHandle resource);
uint32_t SizeofResource(ResourceModuleHandle module, ResourceHandle resource);

// Calls `callback` for each resource of the type in the module's order until it returns
// false. False with ResourceTypeNotFound when the module has none of that type.
using EnumNamesCallback = std::function<bool(ResourceModuleHandle, const ResourceId& type, const ResourceId& name)>;
bool EnumResourceNames(ResourceModuleHandle module, const ResourceId& type, const EnumNamesCallback& callback);

}  // namespace platform
