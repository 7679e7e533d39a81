// TComponent: a named object with an owner. The owner keeps its components in
// creation order, finds them by name, tells them about each other's arrival
// and departure, and frees them (last first) when it goes.
#pragma once

#include <windows.h>

#include <new>
#include <string>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

namespace quillory::ui {

enum class TOperation { opInsert, opRemove };

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Every delete of a component (by its owner or by anyone else) runs
    // BeforeDestruction first, while the component is still whole: whoever
    // hears of its removal can still tell what it is.
    void operator delete(TComponent* component, std::destroying_delete_t);
    // Its partners: plain global allocation, and the release of the memory
    // when a constructor throws (there is no component to destroy then).
    static void* operator new(std::size_t size) { return ::operator new(size); }
    static void operator delete(void* storage) { ::operator delete(storage); }

    // The class's own name ("TForm", "TMainForm"): the name of its windows'
    // class, and what the style and the tests know it by. Each class of the
    // framework and of the game declares its own, so that it does not pass
    // for its base.
    virtual const char* ClassName() const { return "TComponent"; }

    const std::string& Name() const { return name_; }
    // Names are unique among the components of one owner (compared without case).
    void SetName(const std::string& name);
    LONG_PTR Tag() const { return tag_; }
    void SetTag(LONG_PTR tag) { tag_ = tag; }

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_[index]; }
    int ComponentIndex() const;
    // The first owned component, in creation order, whose name equals `name`
    // without case (as the platform compares, lstrcmpiA), or nullptr. Names of
    // plain printable ASCII are found through an index, so that naming the
    // 600 cells of a board is not quadratic; other names are compared one by
    // one with the platform's compare, exactly as before.
    TComponent* FindComponent(const std::string& name) const;

    // Told about components inserted into or removed from the owner tree. The
    // default passes the news on to every owned component, so a component owned
    // by a form hears of every new form owned by the application.
    virtual void Notification(TComponent* component, TOperation operation);
    // Asks to be told (through Notification) when `component` is destroyed,
    // also when it has another owner.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    bool Destroying() const { return destroying_; }

    // Announces the finished component to its owner tree (opInsert). Create<T>
    // calls it; it runs once.
    virtual void AfterConstruction();
    // The first step of every destruction: marks the component (and what it
    // owns) as destroying and tells its owner and its free-notification
    // listeners that it goes. Runs once; the destructor runs it for a
    // component that was not deleted (one on the stack, say).
    virtual void BeforeDestruction();

    // The load-completion step: runs once, after the form that owns the
    // component has created all its components and applied their settings,
    // in creation order, before the form is first shown. (A component made
    // later, at run time, is not loaded.) Override to act on the final
    // settings; call the base.
    virtual void Loaded() {}
    bool IsLoaded() const { return loaded_; }
    // Runs Loaded once on this component, then on what it owns, in creation order.
    void LoadTree();

protected:
    // Frees the owned components, last first. Derived destructors call it while
    // the derived parts are still whole.
    void DestroyComponents();

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    // The owner's name index: told of every owned component's name as it
    // comes and goes.
    void IndexName(TComponent* component);
    void UnindexName(TComponent* component);

    std::string name_;
    LONG_PTR tag_ = 0;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> free_notifies_;
    // Owned components by their name folded to lower case, for names of
    // printable ASCII (where folding is exactly the platform's compare); the
    // owned components with any other name, which are searched the slow way.
    std::unordered_map<std::string, TComponent*> names_;
    std::vector<TComponent*> unusually_named_;
    void MarkDestroying();

    bool destroying_ = false;
    bool announced_ = false;
    bool removal_announced_ = false;
    bool loaded_ = false;
};

// Class tests, from the C++ types: exactly a T (a class derived from T does
// not count), or a T or any class derived from it.
template <typename T>
bool IsExactly(const TComponent* component) {
    return component && typeid(*component) == typeid(T);
}
template <typename T>
bool InheritsFrom(const TComponent* component) {
    return dynamic_cast<const T*>(component) != nullptr;
}

// Frees a component the way its owner would (BeforeDestruction first).
inline void Free(TComponent* component) {
    delete component;
}

// Creates a component owned by `owner` and announces it once it is whole.
template <typename T, typename... Args>
T* Create(TComponent* owner, Args&&... args) {
    T* component = new T(owner, std::forward<Args>(args)...);
    component->AfterConstruction();
    return component;
}

}  // namespace quillory::ui
