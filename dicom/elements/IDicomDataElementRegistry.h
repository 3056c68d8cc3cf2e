// The dictionary component's interface as the system calls it (declared by the component) and
// the COM client the system holds it with.
#pragma once

#include "components/tagbook/TagbookInterface.h"
#include "platform/com/ComClient.h"

namespace orn_com {

// The client of one interface of a component loaded by file name.
template <class Interface>
using com_client = platform::com::ComClient<Interface>;

}  // namespace orn_com
