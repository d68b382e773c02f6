#include "control/TrendixModule.h"

#include "control/TrendixCtrl.h"
#include "pages/PageCatalog.h"

namespace {

// activate when visible, set client site first, inside-out, can't link inside, recompose on
// resize, simple frame
constexpr std::uint32_t kControlMiscStatus = 0x30191;
constexpr int kToolboxBitmap = 1;

com::ClassRegistry MakeClasses() {
    com::ClassRegistry classes(com::TypeLibraryRecord{"TRENDIXLib", 1, 6});
    com::ClassRecord control;
    control.progId = CTrendixModule::kControlProgId;
    control.userTypeName = CTrendixModule::kUserTypeName;
    control.miscStatus = kControlMiscStatus;
    control.flags = com::ClassInsertable | com::ClassApartmentThreaded;
    control.toolboxBitmap = kToolboxBitmap;
    control.typeLibrary = classes.TypeLibrary();
    classes.Add(control, [](ui::IWindowSite& site) -> std::unique_ptr<com::IDispatch> {
        return std::make_unique<CTrendixCtrl>(site);
    });
    // The property pages are shown in the control's own sheet; they are registered by class
    // but not created through the registry.
    for (const PageCatalog::PageClass& page : PageCatalog::kPageClasses) {
        com::ClassRecord record;
        record.progId = page.progId;
        record.userTypeName = page.caption;
        record.flags = com::ClassApartmentThreaded;
        classes.Add(record, nullptr);
    }
    return classes;
}

} // namespace

const com::ClassRegistry& CTrendixModule::Classes() {
    static const com::ClassRegistry classes = MakeClasses();
    return classes;
}

com::HRESULT CTrendixModule::DllRegisterServer(com::RegistryStore& store) {
    return Classes().RegisterServer(store);
}

com::HRESULT CTrendixModule::DllUnregisterServer(com::RegistryStore& store) {
    return Classes().UnregisterServer(store);
}
