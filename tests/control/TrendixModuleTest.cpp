#include "control/TrendixModule.h"
#include "control/TrendixCtrl.h"
#include "platform/ui/HeadlessSite.h"

#include <gtest/gtest.h>

namespace {

class AnsweringSite : public ui::HeadlessSite {
public:
    int MessageBox(const std::string&, const std::string& caption, int) override {
        captions.push_back(caption);
        return ui::IdOk;
    }
    std::vector<std::string> captions;
};

constexpr const char* kPageProgIds[] = {
    "TRENDIX.TrendixPropPage.250", "trendix.CAttribPage",  "trendix.CBarAttribPage",
    "trendix.CLegendPage",         "trendix.CAxisMapPage", "trendix.CLabelPage",
    "TRENDIX.CAxisPage",           "trendix.CGridPage",    "trendix.CRunGridPage",
    "trendix.CTriGridPage",        "trendix.CDataPage",    "trendix.CRunplotPage",
    "TRENDIX.CVariablePage",       "trendix.CFontPage",
};

} // namespace

TEST(TrendixModule, AHostCreatesTheControlByProgIdOnItsSite) {
    AnsweringSite site;
    std::unique_ptr<com::IDispatch> object =
        CTrendixModule::Classes().CreateInstance("TRENDIX.TrendixCtrl.250", site);
    auto* control = dynamic_cast<CTrendixCtrl*>(object.get());
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetTitle(), "Title");
    std::vector<com::Variant> none;
    object->Invoke(object->GetIDOfName("AboutBox"), com::InvokeKind::Method, none);
    EXPECT_EQ(site.captions, std::vector<std::string>{"About Trendix Control"});
}

TEST(TrendixModule, TheControlsRegistrationRecord) {
    const com::ClassRecord* r = CTrendixModule::Classes().Find("TRENDIX.TrendixCtrl.250");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->userTypeName, "Trendix 25.0 Control");
    EXPECT_EQ(r->miscStatus, 0x30191u);
    EXPECT_EQ(r->flags, com::ClassInsertable | com::ClassApartmentThreaded);
    EXPECT_EQ(r->toolboxBitmap, 1);
    EXPECT_EQ(r->typeLibrary, (com::TypeLibraryRecord{"TRENDIXLib", 1, 6}));
    EXPECT_EQ(CTrendixModule::Classes().TypeLibrary(), r->typeLibrary);
}

TEST(TrendixModule, ThePropertyPagesAreRegisteredUnderTheirExactProgIds) {
    const auto classes = CTrendixModule::Classes().Classes();
    ASSERT_EQ(classes.size(), 1 + std::size(kPageProgIds));
    EXPECT_EQ(classes[0]->progId, "TRENDIX.TrendixCtrl.250");
    AnsweringSite site;
    for (size_t i = 0; i < std::size(kPageProgIds); ++i) {
        EXPECT_EQ(classes[i + 1]->progId, kPageProgIds[i]);
        EXPECT_FALSE(classes[i + 1]->flags & com::ClassInsertable) << kPageProgIds[i];
        try {
            CTrendixModule::Classes().CreateInstance(kPageProgIds[i], site);
            ADD_FAILURE() << "a page object was made: " << kPageProgIds[i];
        } catch (const com::DispatchError& e) {
            EXPECT_EQ(e.hr(), com::CLASS_E_CLASSNOTAVAILABLE);
        }
    }
}

TEST(TrendixModule, SelfRegistrationAndItsFailureCodes) {
    com::MemoryRegistryStore store;
    EXPECT_EQ(CTrendixModule::DllRegisterServer(store), com::S_OK);
    EXPECT_TRUE(store.HasTypeLibrary({"TRENDIXLib", 1, 6}));
    EXPECT_EQ(store.classes.size(), 15u);
    EXPECT_NE(store.FindClass("trendix.CFontPage"), nullptr);
    EXPECT_EQ(CTrendixModule::DllUnregisterServer(store), com::S_OK);
    EXPECT_TRUE(store.classes.empty());
    EXPECT_TRUE(store.typeLibraries.empty());

    com::MemoryRegistryStore noLibrary;
    noLibrary.refuseTypeLibrary = true;
    EXPECT_EQ(CTrendixModule::DllRegisterServer(noLibrary), com::SELFREG_E_TYPELIB);
    EXPECT_EQ(CTrendixModule::DllUnregisterServer(noLibrary), com::SELFREG_E_TYPELIB);

    com::MemoryRegistryStore fewClasses;
    fewClasses.classOperationsAllowed = 3;
    EXPECT_EQ(CTrendixModule::DllRegisterServer(fewClasses), com::SELFREG_E_CLASS);
    EXPECT_EQ(fewClasses.classes.size(), 3u);
    fewClasses.classOperationsAllowed = 1;
    EXPECT_EQ(CTrendixModule::DllUnregisterServer(fewClasses), com::SELFREG_E_CLASS);
    EXPECT_EQ(fewClasses.classes.size(), 2u);
}
