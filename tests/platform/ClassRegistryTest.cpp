#include "platform/com/ClassRegistry.h"
#include "platform/ui/HeadlessSite.h"

#include <gtest/gtest.h>

using com::ClassRecord;
using com::ClassRegistry;
using com::MemoryRegistryStore;

namespace {

// An object that remembers the site it was made for.
class SitedObject : public com::IDispatch {
public:
    explicit SitedObject(ui::IWindowSite& s) : site(s) {}
    const com::TypeInfo& GetTypeInfo() const override { return info_; }
    com::Variant Invoke(com::DISPID, com::InvokeKind, std::span<com::Variant>) override {
        return {};
    }
    ui::IWindowSite& site;

private:
    com::TypeInfo info_{"_DSited"};
};

ClassRecord Record(const char* progId) {
    ClassRecord r;
    r.progId = progId;
    r.userTypeName = std::string(progId) + " object";
    r.flags = com::ClassApartmentThreaded;
    return r;
}

// Three classes: a creatable one in the type library and two without objects.
ClassRegistry ThreeClasses() {
    ClassRegistry classes({"LIBLib", 2, 3});
    ClassRecord first = Record("Lib.First.1");
    first.miscStatus = 0x30191;
    first.flags |= com::ClassInsertable;
    first.toolboxBitmap = 1;
    first.typeLibrary = classes.TypeLibrary();
    classes.Add(first, [](ui::IWindowSite& site) -> std::unique_ptr<com::IDispatch> {
        return std::make_unique<SitedObject>(site);
    });
    classes.Add(Record("lib.Second"), nullptr);
    classes.Add(Record("LIB.Third"), nullptr);
    return classes;
}

} // namespace

TEST(ClassRegistry, CreatesByProgIdWithoutRegardToCaseForTheSiteGiven) {
    const ClassRegistry classes = ThreeClasses();
    ui::HeadlessSite site;
    std::unique_ptr<com::IDispatch> object = classes.CreateInstance("lib.first.1", site);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(&dynamic_cast<SitedObject&>(*object).site, &site);
    EXPECT_EQ(classes.Find("LIB.FIRST.1")->progId, "Lib.First.1");
}

TEST(ClassRegistry, UnknownAndUncreatableClassesFailWithTheirCodes) {
    const ClassRegistry classes = ThreeClasses();
    ui::HeadlessSite site;
    try {
        classes.CreateInstance("Lib.Missing", site);
        FAIL();
    } catch (const com::DispatchError& e) {
        EXPECT_EQ(e.hr(), com::REGDB_E_CLASSNOTREG);
    }
    try {
        classes.CreateInstance("Lib.Second", site);
        FAIL();
    } catch (const com::DispatchError& e) {
        EXPECT_EQ(e.hr(), com::CLASS_E_CLASSNOTAVAILABLE);
    }
}

TEST(ClassRegistry, RefusesAnEmptyOrRepeatedProgId) {
    ClassRegistry classes = ThreeClasses();
    EXPECT_THROW(classes.Add(Record(""), nullptr), com::DispatchError);
    EXPECT_THROW(classes.Add(Record("LIB.SECOND"), nullptr), com::DispatchError);
    EXPECT_EQ(classes.Classes().size(), 3u);
}

TEST(ClassRegistry, RegistrationWritesTheTypeLibraryAndEveryRecordAndUnregistrationRemovesThem) {
    const ClassRegistry classes = ThreeClasses();
    MemoryRegistryStore store;
    EXPECT_EQ(classes.RegisterServer(store), com::S_OK);
    EXPECT_TRUE(store.HasTypeLibrary({"LIBLib", 2, 3}));
    ASSERT_EQ(store.classes.size(), 3u);
    EXPECT_EQ(*store.FindClass("Lib.First.1"), *classes.Find("Lib.First.1"));
    EXPECT_EQ(store.FindClass("Lib.First.1")->miscStatus, 0x30191u);
    EXPECT_EQ(store.FindClass("Lib.First.1")->typeLibrary,
              (com::TypeLibraryRecord{"LIBLib", 2, 3}));
    // Registering again changes nothing.
    EXPECT_EQ(classes.RegisterServer(store), com::S_OK);
    EXPECT_EQ(store.typeLibraries.size(), 1u);

    EXPECT_EQ(classes.UnregisterServer(store), com::S_OK);
    EXPECT_TRUE(store.typeLibraries.empty());
    EXPECT_TRUE(store.classes.empty());
    EXPECT_EQ(classes.UnregisterServer(store), com::S_OK); // nothing left is no failure
}

TEST(ClassRegistry, ARefusedTypeLibraryFailsBeforeAnyClass) {
    const ClassRegistry classes = ThreeClasses();
    MemoryRegistryStore store;
    store.refuseTypeLibrary = true;
    EXPECT_EQ(classes.RegisterServer(store), com::SELFREG_E_TYPELIB);
    EXPECT_TRUE(store.classes.empty());
    EXPECT_EQ(classes.UnregisterServer(store), com::SELFREG_E_TYPELIB);
}

TEST(ClassRegistry, ARefusedClassFailsAndKeepsWhatWasWrittenBefore) {
    const ClassRegistry classes = ThreeClasses();
    MemoryRegistryStore store;
    store.classOperationsAllowed = 2;
    EXPECT_EQ(classes.RegisterServer(store), com::SELFREG_E_CLASS);
    EXPECT_TRUE(store.HasTypeLibrary(classes.TypeLibrary()));
    EXPECT_NE(store.FindClass("Lib.First.1"), nullptr);
    EXPECT_NE(store.FindClass("lib.Second"), nullptr);
    EXPECT_EQ(store.FindClass("LIB.Third"), nullptr);

    store.classOperationsAllowed = 0;
    EXPECT_EQ(classes.UnregisterServer(store), com::SELFREG_E_CLASS);
    EXPECT_FALSE(store.HasTypeLibrary(classes.TypeLibrary())); // removed before the classes
    EXPECT_EQ(store.classes.size(), 2u);
}
