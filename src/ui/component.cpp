#include "ui/component.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <stdexcept>
#include <typeindex>
#include <typeinfo>

namespace quillory::ui {

namespace {

// "N8quillory2ui5TFormE" becomes "TForm": the unqualified name of the class.
std::string UnqualifiedName(const std::type_info& type) {
    int status = 0;
    char* demangled = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && demangled ? demangled : type.name();
    std::free(demangled);
    const auto templateStart = name.find('<');
    const auto scope = name.rfind("::", templateStart);
    if (scope != std::string::npos) name.erase(0, scope + 2);
    return name;
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->Insert(this);
}

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
    void* storage = dynamic_cast<void*>(component);  // the start of the whole object
    component->BeforeDestruction();
    component->~TComponent();
    ::operator delete(storage);
}

TComponent::~TComponent() {
    BeforeDestruction();  // nothing left to do when delete ran it
    DestroyComponents();
    if (owner_) owner_->Remove(this);
}

const char* TComponent::ClassName() const {
    static std::map<std::type_index, std::string> names;
    const std::type_info& type = typeid(*this);
    auto found = names.find(type);
    if (found == names.end()) found = names.emplace(type, UnqualifiedName(type)).first;
    return found->second.c_str();
}

void TComponent::MarkDestroying() {
    destroying_ = true;
    for (TComponent* owned : components_) owned->MarkDestroying();
}

void TComponent::BeforeDestruction() {
    if (removal_announced_) return;
    removal_announced_ = true;
    MarkDestroying();
    // Whoever asked to hear of our end hears it now, then forgets us.
    auto listeners = std::move(free_notifies_);
    free_notifies_.clear();
    for (TComponent* listener : listeners) {
        auto& theirs = listener->free_notifies_;
        theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
        listener->Notification(this, TOperation::opRemove);
    }
    if (owner_ && !owner_->destroying_) owner_->Notification(this, TOperation::opRemove);
}

void TComponent::DestroyComponents() {
    MarkDestroying();
    while (!components_.empty()) {
        TComponent* last = components_.back();
        delete last;  // its destructor removes it from the list
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && owner_) {
        TComponent* existing = owner_->FindComponent(name);
        if (existing && existing != this)
            throw std::invalid_argument("A component named " + name + " already exists");
    }
    name_ = name;
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : components_) {
        if (lstrcmpiA(component->name_.c_str(), name.c_str()) == 0) return component;
    }
    return nullptr;
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) {
        free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), component),
                             free_notifies_.end());
    }
    // Copy: a listener may free components while it is told.
    auto components = components_;
    for (TComponent* owned : components) {
        if (owned != component) owned->Notification(component, operation);
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(component->free_notifies_.begin(), component->free_notifies_.end(), this) ==
        component->free_notifies_.end()) {
        component->free_notifies_.push_back(this);
        free_notifies_.push_back(component);
    }
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    auto& theirs = component->free_notifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    free_notifies_.erase(std::remove(free_notifies_.begin(), free_notifies_.end(), component),
                         free_notifies_.end());
}

void TComponent::AfterConstruction() {
    if (announced_) return;
    announced_ = true;
    if (owner_) owner_->Notification(this, TOperation::opInsert);
}

void TComponent::LoadTree() {
    if (!loaded_) {
        loaded_ = true;
        Loaded();
    }
    // Copy: a Loaded step may create components of its own.
    auto components = components_;
    for (TComponent* owned : components) owned->LoadTree();
}

void TComponent::Insert(TComponent* component) {
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component),
                      components_.end());
    component->owner_ = nullptr;
}

}  // namespace quillory::ui
