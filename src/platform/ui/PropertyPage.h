#pragma once
#include <string>
#include <vector>

namespace ui {

// What a field of a page shows.
enum class FieldKind {
    Note,    // a fixed text
    Check,   // value "0" or "1"
    Radio,   // a group of buttons named by entries; value: the index chosen
    Text,    // a free text edit
    Number,  // an edit of a real number
    Integer, // an edit of a whole number, with a spin when low < high
    Choice,  // a drop-down list of entries; value: the index chosen
    List,    // a list box of entries; value: the selected indices, comma separated
    Button,  // pressed, it acts at once
};

// How the entries of a Choice or List are drawn: as text, or as samples of the drawing
// tables (entry i is table index i), or from the system's font families.
enum class Sample { Text, Colour, Marker, Line, Hatch, FontFamily };

// One control of a page. The caption names the field on its page.
struct Field {
    std::string caption; // unique on its page: the name edits use
    std::string label;   // the text shown; empty: the caption
    FieldKind kind = FieldKind::Text;
    std::string group;                // the group box it sits in; empty for none
    std::vector<std::string> entries; // Radio, Choice and List texts (a List may change)
    Sample sample = Sample::Text;
    int low = 0, high = 0;    // the spin range of an Integer field
    bool multiSelect = false; // a List that takes several selected lines
    bool unlabelled = false;  // shown without a label (it sits under the field above)
    bool beside = false; // shown in the row of the field above, after it (a unit, a range's end)
    const std::string& Label() const { return label.empty() ? caption : label; }
};

// The characters an edit of a Number or Integer field accepts.
inline constexpr char kNumberCharacters[] = "1234567890eEdD-+.";
inline constexpr char kIntegerCharacters[] = "1234567890";

// One page of a property sheet or edit dialog, as the site shows it: fields with values as
// text. Every edit goes through Edit, so that the page can follow what the user does; after
// an edit or a press the site reads every value again, since one field may change others.
class IPropertyPage {
public:
    virtual ~IPropertyPage() = default;
    virtual const std::string& Caption() const = 0;
    virtual const std::vector<Field>& Fields() const = 0;
    virtual std::string Value(const std::string& caption) const = 0;
    // The current entries of a Choice or List field.
    virtual std::vector<std::string> Entries(const std::string& caption) const = 0;
    // Takes the user's edit; false (and nothing changes) when the field does not accept it.
    virtual bool Edit(const std::string& caption, const std::string& value) = 0;
    virtual void Press(const std::string& caption) = 0;
    // Writes the page's values to what it edits, when the user changed any. Validation
    // failures are shown in message boxes; the other fields are still written.
    virtual void Apply() = 0;
    virtual bool Changed() const = 0;
    // The sheet that showed the page has closed (OK or Cancel).
    virtual void Closed() {}
};

} // namespace ui
