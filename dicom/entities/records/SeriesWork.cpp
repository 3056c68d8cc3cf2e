#include "dicom/entities/records/SeriesWork.h"

#include <atomic>

namespace ORN_dicom {

namespace {
std::atomic<iSERIES_WORK*> g_work{nullptr};
}

void InstallSeriesWork(iSERIES_WORK* work) { g_work.store(work); }

iSERIES_WORK* InstalledSeriesWork() { return g_work.load(); }

}  // namespace ORN_dicom
