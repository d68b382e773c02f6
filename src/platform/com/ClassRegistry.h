#pragma once
#include "platform/com/IDispatch.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {
class IWindowSite;
}

namespace com {

inline constexpr HRESULT REGDB_E_CLASSNOTREG = 0x80040154u;
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = 0x80040111u;

// Flags of a class's registration record.
enum ClassFlags : std::uint32_t {
    ClassInsertable = 1u << 0,        // offered in the container's Insert Object list
    ClassApartmentThreaded = 1u << 1, // created and called on the host's user-interface thread
};

struct TypeLibraryRecord {
    std::string name;
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    bool operator==(const TypeLibraryRecord&) const = default;
};

// What self-registration writes for one class.
struct ClassRecord {
    std::string progId;
    std::string userTypeName;
    std::uint32_t miscStatus = 0;
    std::uint32_t flags = 0;       // ClassFlags
    int toolboxBitmap = 0;         // resource number; 0 for none
    TypeLibraryRecord typeLibrary; // empty name for a class outside the type library
    bool operator==(const ClassRecord&) const = default;
};

// Where registration records go: the system's registry of classes and type libraries.
// Each write or removal answers whether the store took it.
class RegistryStore {
public:
    virtual ~RegistryStore() = default;
    virtual bool WriteTypeLibrary(const TypeLibraryRecord& library) = 0;
    virtual bool RemoveTypeLibrary(const TypeLibraryRecord& library) = 0;
    virtual bool WriteClass(const ClassRecord& record) = 0;
    virtual bool RemoveClass(const std::string& progId) = 0;
};

// A registry store in memory. It can be told to refuse, so that the failures of
// registration can be seen: type library writes and removals, or every class operation
// after a number of them succeeded.
class MemoryRegistryStore : public RegistryStore {
public:
    bool WriteTypeLibrary(const TypeLibraryRecord& library) override;
    bool RemoveTypeLibrary(const TypeLibraryRecord& library) override;
    bool WriteClass(const ClassRecord& record) override;
    bool RemoveClass(const std::string& progId) override;

    const ClassRecord* FindClass(std::string_view progId) const; // null when not registered
    bool HasTypeLibrary(const TypeLibraryRecord& library) const;

    bool refuseTypeLibrary = false;
    int classOperationsAllowed = -1; // negative: no limit
    std::vector<TypeLibraryRecord> typeLibraries;
    std::map<std::string, ClassRecord> classes; // by ProgID as registered

private:
    bool TakeClassOperation();
};

// The creatable classes of one module by ProgID, with their factories and registration
// records, and the module's type library: the module's self-registration and the entry a
// host uses to create a class by ProgID. ProgIDs are matched without regard to case.
class ClassRegistry {
public:
    // A factory makes one object for the window site it is given; the site must outlive it.
    using Factory = std::function<std::unique_ptr<IDispatch>(ui::IWindowSite&)>;

    explicit ClassRegistry(TypeLibraryRecord typeLibrary) : typeLibrary_(std::move(typeLibrary)) {}

    // Adds a class; an empty factory registers a class that cannot be created yet.
    // Throws DispatchError(E_INVALIDARG) for an empty or repeated ProgID.
    void Add(ClassRecord record, Factory factory);

    const TypeLibraryRecord& TypeLibrary() const { return typeLibrary_; }
    std::vector<const ClassRecord*> Classes() const; // in the order added
    const ClassRecord* Find(std::string_view progId) const;

    // Throws DispatchError: REGDB_E_CLASSNOTREG for an unknown ProgID,
    // CLASS_E_CLASSNOTAVAILABLE for a class without a factory.
    std::unique_ptr<IDispatch> CreateInstance(std::string_view progId, ui::IWindowSite& site) const;

    // Registers the type library (failure: SELFREG_E_TYPELIB), then every class (failure:
    // SELFREG_E_CLASS); S_OK. What was written before a failure stays.
    HRESULT RegisterServer(RegistryStore& store) const;
    // Removes the type library (failure: SELFREG_E_TYPELIB), then every class (failure:
    // SELFREG_E_CLASS); S_OK.
    HRESULT UnregisterServer(RegistryStore& store) const;

private:
    struct Entry {
        ClassRecord record;
        Factory factory;
    };
    const Entry* FindEntry(std::string_view progId) const;

    TypeLibraryRecord typeLibrary_;
    std::vector<Entry> entries_;
};

} // namespace com
