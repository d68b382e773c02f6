#pragma once
#include "platform/ui/IWindowSite.h"
#include "platform/ui/PropertyPage.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// The base of every page and dialog model: its fields, their values as the user sees them,
// the checks of what an edit accepts, and the message boxes of validation.
class CPageModel : public ui::IPropertyPage {
public:
    CPageModel(std::string caption, ui::IWindowSite& site)
        : site_(site), caption_(std::move(caption)) {}

    const std::string& Caption() const override { return caption_; }
    const std::vector<ui::Field>& Fields() const override { return fields_; }
    std::string Value(const std::string& caption) const override;
    std::vector<std::string> Entries(const std::string& caption) const override;
    bool Edit(const std::string& caption, const std::string& value) override;
    void Press(const std::string& caption) override;
    // Applies the page when the user changed it; a failure of the object it edits is shown
    // in a message box and ends this apply.
    void Apply() override;
    bool Changed() const override { return changed_; }

    // Reads the current values of what the page edits into its fields.
    virtual void Activate() = 0;

    // The text of a number in an edit: six significant digits.
    static std::string NumberText(double value);
    // The number an edit holds ("d" and "D" read as "e"); empty when it holds none.
    static std::optional<double> ParseNumber(const std::string& text);

protected:
    void Add(ui::Field field, std::string value = {});
    // Sets a value or the entries without counting as a user's change.
    void Set(const std::string& caption, std::string value);
    void SetEntries(const std::string& caption, std::vector<std::string> entries);
    void SetRange(const std::string& caption, int low, int high);

    bool Checked(const std::string& caption) const { return Value(caption) == "1"; }
    int Index(const std::string& caption) const;                  // Radio, Choice; -1 for none
    std::vector<int> Selection(const std::string& caption) const; // List
    int Selected(const std::string& caption) const;               // the first selected line; -1
    // The number of an edit, or the message "Please enter a number in <caption>." and empty.
    std::optional<double> ReadNumber(const std::string& caption);
    std::optional<double> ReadNumber(const std::string& caption, const std::string& text);
    void Message(const std::string& text);

    // What the user's edit of one field changes in the others.
    virtual void OnEdit(const std::string& /*caption*/) {}
    virtual void OnPress(const std::string& /*caption*/) {}
    virtual void DoApply() = 0;

    ui::IWindowSite& site_;

private:
    const ui::Field* Find(const std::string& caption) const;
    static bool Accepts(const ui::Field& field, const std::string& value);

    std::string caption_;
    std::vector<ui::Field> fields_;
    std::map<std::string, std::string> values_;
    bool changed_ = false;
};

// Comma-separated indices, as List values hold them.
std::string IndexList(const std::vector<int>& indices);
