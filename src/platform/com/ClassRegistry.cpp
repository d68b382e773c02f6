#include "platform/com/ClassRegistry.h"

#include <algorithm>

namespace com {

namespace {

bool SameProgId(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Memory store

bool MemoryRegistryStore::WriteTypeLibrary(const TypeLibraryRecord& library) {
    if (refuseTypeLibrary) return false;
    if (!HasTypeLibrary(library)) typeLibraries.push_back(library);
    return true;
}

bool MemoryRegistryStore::RemoveTypeLibrary(const TypeLibraryRecord& library) {
    if (refuseTypeLibrary) return false;
    std::erase(typeLibraries, library);
    return true;
}

bool MemoryRegistryStore::TakeClassOperation() {
    if (classOperationsAllowed == 0) return false;
    if (classOperationsAllowed > 0) --classOperationsAllowed;
    return true;
}

bool MemoryRegistryStore::WriteClass(const ClassRecord& record) {
    if (!TakeClassOperation()) return false;
    classes[record.progId] = record;
    return true;
}

bool MemoryRegistryStore::RemoveClass(const std::string& progId) {
    if (!TakeClassOperation()) return false;
    classes.erase(progId); // removing what is not there is no failure
    return true;
}

const ClassRecord* MemoryRegistryStore::FindClass(std::string_view progId) const {
    const auto it = classes.find(std::string(progId));
    return it == classes.end() ? nullptr : &it->second;
}

bool MemoryRegistryStore::HasTypeLibrary(const TypeLibraryRecord& library) const {
    return std::find(typeLibraries.begin(), typeLibraries.end(), library) != typeLibraries.end();
}

// ---------------------------------------------------------------------------------------------
// Class registry

void ClassRegistry::Add(ClassRecord record, Factory factory) {
    if (record.progId.empty()) throw DispatchError::InvalidArg("A class needs a ProgID");
    if (FindEntry(record.progId))
        throw DispatchError::InvalidArg("The ProgID " + record.progId + " is taken");
    entries_.push_back({std::move(record), std::move(factory)});
}

const ClassRegistry::Entry* ClassRegistry::FindEntry(std::string_view progId) const {
    for (const Entry& e : entries_)
        if (SameProgId(e.record.progId, progId)) return &e;
    return nullptr;
}

std::vector<const ClassRecord*> ClassRegistry::Classes() const {
    std::vector<const ClassRecord*> out;
    for (const Entry& e : entries_)
        out.push_back(&e.record);
    return out;
}

const ClassRecord* ClassRegistry::Find(std::string_view progId) const {
    const Entry* e = FindEntry(progId);
    return e ? &e->record : nullptr;
}

std::unique_ptr<IDispatch> ClassRegistry::CreateInstance(std::string_view progId,
                                                         ui::IWindowSite& site) const {
    const Entry* e = FindEntry(progId);
    if (!e)
        throw DispatchError(REGDB_E_CLASSNOTREG, "Class not registered: " + std::string(progId));
    if (!e->factory)
        throw DispatchError(CLASS_E_CLASSNOTAVAILABLE,
                            "Class not available: " + std::string(progId));
    return e->factory(site);
}

HRESULT ClassRegistry::RegisterServer(RegistryStore& store) const {
    if (!store.WriteTypeLibrary(typeLibrary_)) return SELFREG_E_TYPELIB;
    for (const Entry& e : entries_)
        if (!store.WriteClass(e.record)) return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT ClassRegistry::UnregisterServer(RegistryStore& store) const {
    if (!store.RemoveTypeLibrary(typeLibrary_)) return SELFREG_E_TYPELIB;
    for (const Entry& e : entries_)
        if (!store.RemoveClass(e.record.progId)) return SELFREG_E_CLASS;
    return S_OK;
}

} // namespace com
