#pragma once
#include "platform/com/ClassRegistry.h"

// The module that holds the control: its type library, the control class and its property
// pages with their registration records, and the module's self-registration entries.
class CTrendixModule {
public:
    static constexpr char kControlProgId[] = "TRENDIX.TrendixCtrl.250";
    static constexpr char kUserTypeName[] = "Trendix 25.0 Control";
    static constexpr char kVersionText[] = "25.0";
    static constexpr char kAboutCaption[] = "About Trendix Control";
    // The clipboard formats the module registers by name: the control's binary image and the
    // descriptor of an embeddable object, whose full user type name is kUserTypeName.
    static constexpr char kControlFormat[] = "Trendix Control";
    static constexpr char kObjectDescriptorFormat[] = "Object Descriptor";

    // The module's classes; the control's factory makes a CTrendixCtrl on the site it is
    // given. The property pages are registered with their ProgIDs; the control makes their
    // models itself when it shows them (CTrendixCtrl::ShowPropertyPages).
    static const com::ClassRegistry& Classes();

    // Registers the type library, then every class: S_OK, SELFREG_E_TYPELIB or
    // SELFREG_E_CLASS.
    static com::HRESULT DllRegisterServer(com::RegistryStore& store);
    // Removes the type library version 1.6, then every class; the same codes.
    static com::HRESULT DllUnregisterServer(com::RegistryStore& store);
};
