// The shape of the record tree as a DICOMDIR stores it: which record types stand below which,
// and in which set of the parent a record of a type goes. The one place that knows the child
// sets of every record class by name.
#pragma once

#include <string>

#include "dicom/entities/records/InstanceRecords.h"
#include "dicom/entities/records/StudyLevelRecords.h"
#include "dicom/entities/records/TanDirectoryRecord.h"
#include "dicom/entities/records/TanPatientIE.h"
#include "dicom/entities/records/TanPrivateIE.h"
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"
#include "dicom/entities/records/TanTopicIE.h"

namespace ORN_dicom {

class iDDE;

namespace record_tree {

// Makes a record of the type over the item in the parent's set for that type and returns it;
// null (the item untouched) when the parent does not accept the type. A PRIVATE record does
// not take PRIVATE children: such nesting has no end of its own.
TanDirectoryRecord* AppendChildFromItem(TanDirectoryRecord& parent, const std::string& type, iDDE* item);

bool IsPatient(const TanDirectoryRecord& record);
bool IsPrivate(const TanDirectoryRecord& record);

}  // namespace record_tree
}  // namespace ORN_dicom
