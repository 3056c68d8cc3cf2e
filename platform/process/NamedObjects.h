// Kernel object names shared by the processes of this user on this machine.
//
// A named object is a file in one per-user folder (on tmpfs): a FIFO for an event, a plain
// file for a file mapping. Every process that holds the object keeps a shared flock on it, so
// the object lives exactly as long as some process holds it, as a Win32 named object does:
// the last holder to leave removes the file, and a file left behind by a crashed process (no
// lock on it any more) is taken as free and started afresh by the next creator. Joining and
// leaving are serialised by an exclusive lock on a guard file of the folder.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>

namespace platform::named {

// The per-user folder, created on first use ("/dev/shm/vistrel-<uid>").
const std::string& Folder();

// The file path for an object of the given kind ("event", "map") and name; any character of
// the name may be used, "/" and "%" are escaped.
std::string PathOf(const std::string& kind, const std::string& name);

struct Joined {
  int fd = -1;         // -1: failed, last error set
  bool fresh = false;  // no other process holds it: the caller initialises it
};

// Opens the object's file with `open` (which creates it when asked and returns -1 with errno
// set on failure) and joins its holders. For a fresh object, `init` runs before any other
// process can join; it returns false to give up (errno set).
Joined Join(const std::string& path, const std::function<int()>& open,
            const std::function<bool(int fd)>& init);

// Leaves the object: closes fd, and removes the file when no other process holds it.
void Leave(int fd, const std::string& path);

}  // namespace platform::named
