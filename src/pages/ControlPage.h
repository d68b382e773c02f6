#pragma once
#include "pages/DispatchClient.h"
#include "pages/PageModel.h"

// A property page of the control: it reads and writes the control only through the
// control's dispatch interface.
class CControlPage : public CPageModel {
public:
    CControlPage(std::string caption, com::IDispatch& control, ui::IWindowSite& site)
        : CPageModel(std::move(caption), site), control_(control) {}

protected:
    CDispatchClient control_;
};

// Shorthands for building fields.
namespace PageFields {
ui::Field Note(std::string text);
ui::Field Check(std::string caption, std::string group = {});
ui::Field Radio(std::string caption, std::vector<std::string> entries, std::string group = {});
ui::Field Text(std::string caption, std::string group = {});
ui::Field Number(std::string caption, std::string label, std::string group = {});
ui::Field Integer(std::string caption, int low, int high, std::string group = {});
ui::Field Choice(std::string caption, std::vector<std::string> entries,
                 ui::Sample sample = ui::Sample::Text);
ui::Field List(std::string caption, bool multiSelect = false);
ui::Field Button(std::string caption);
// The field shown in the row of the field before it, after it.
ui::Field Beside(ui::Field f);
// Sample entries: the table indices as texts, for pick lists drawn as samples.
std::vector<std::string> Samples(int count, std::vector<std::string> named = {});
} // namespace PageFields
