#include "platform/vcl/Classes.h"

#include <algorithm>

#include "platform/vcl/SysUtils.h"

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  // Each owned component leaves this list as it is destroyed.
  while (!FComponents.empty()) delete FComponents.back();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const System::AnsiString& name) const {
  for (auto* c : FComponents)
    if (SameText(c->Name(), name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  FComponents.push_back(component);
  component->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(FComponents.begin(), FComponents.end(), component);
  if (it != FComponents.end()) FComponents.erase(it);
  component->FOwner = nullptr;
}
