// Compiled into the fileset library so that it has a source of its own while its other areas
// are still empty; it links fileset_settings for every area of the file set.
#include "fileset/settings/dicom_file_set_ini.h"
