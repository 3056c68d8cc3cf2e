#include "dicom/io/iod/TanDDEFactory.h"

#include <stdexcept>

#include "dicom/elements/DDERegistryLoader.h"
#include "dicom/io/explicit/TanExplicitDDEFactory.h"
#include "dicom/io/implicit/TanImplicitDDEFactory.h"
#include "dicom/io/iod/TanIODFactoryTemplate.h"
#include "dicom/io/pixel/TanLosslessDDEFactory.h"
#include "dicom/io/pixel/TanLossyDDEFactory.h"

namespace ORN_dicom {

void EnsureDDERegistry() {
  if (orn_dicom::IsDDERegistryReady()) return;
  if (orn_dicom::InitializeDDERegistry("Tagbook.dll", orn_dicom::GetStandardDDEPath())) return;
  throw std::runtime_error(orn_dicom::GetDDERegistryError());
}

TanDDEFactory::TanDDEFactory(uint8_t kind) {
  EnsureDDERegistry();
  switch (kind) {
    case 1: FFactory = std::make_unique<TanImplicitDDEFactory>(); break;
    case 2: FFactory = std::make_unique<TanExplicitLEFactory>(); break;
    case 4: FFactory = std::make_unique<TanLosslessDDEFactory>(); break;
    case 5: FFactory = std::make_unique<TanLosslessJpegDDEFactory>(); break;
    case 6: FFactory = std::make_unique<TanLosslessRleDDEFactory>(); break;
    case 7: FFactory = std::make_unique<TanLossyDDEFactory>(); break;
    case 3: FFactory = std::make_unique<TanExplicitBEFactory>(); break;
    default: break;
  }
}

namespace {
template <class F>
std::unique_ptr<iIODFactory> MakeIOD(uint8_t kind, uint8_t parameter) {
  auto f = std::make_unique<TanIODFactoryTemplate<F>>(parameter);
  f->FTransferSyntaxKind = kind == 4 ? 0 : kind;
  return f;
}
}  // namespace

TanIODFactory::TanIODFactory(uint8_t kind, uint8_t quality) {
  EnsureDDERegistry();
  switch (kind) {
    case 1: FFactory = MakeIOD<TanImplicitDDEFactory>(kind, 50); break;
    case 2: FFactory = MakeIOD<TanExplicitLEFactory>(kind, 50); break;
    case 4: FFactory = MakeIOD<TanLosslessDDEFactory>(kind, 50); break;
    case 5: FFactory = MakeIOD<TanLosslessJpegDDEFactory>(kind, 50); break;
    case 6: FFactory = MakeIOD<TanLosslessRleDDEFactory>(kind, 50); break;
    case 7: FFactory = MakeIOD<TanLossyDDEFactory>(kind, quality); break;
    case 3: FFactory = MakeIOD<TanExplicitBEFactory>(kind, 50); break;
    default: break;
  }
}

}  // namespace ORN_dicom
