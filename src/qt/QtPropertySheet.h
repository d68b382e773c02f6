#pragma once
#include "platform/ui/PropertyPage.h"

#include <QDialog>
#include <QPixmap>

#include <functional>
#include <vector>

class QDialogButtonBox;
class QWidget;

// A modal tabbed dialog with OK, Cancel and Apply over page models: each page's fields become
// Qt widgets, every user edit goes to the model, and the widgets are read back from the model
// after it, since one field may change others.
class QtPropertySheet : public QDialog {
public:
    QtPropertySheet(const QString& caption, const std::vector<ui::IPropertyPage*>& pages,
                    QWidget* parent);

    // Applies every changed page (the Apply button).
    void ApplyPages();
    // The widget showing a field, to find it in tests; null when there is none.
    QWidget* FieldWidget(int page, const std::string& caption) const;

    // A sample of the drawing tables for one pick-list entry: a colour swatch, a marker, a
    // line or a hatch; a null pixmap for entries that are words ("none", "(no line)").
    static QPixmap SamplePixmap(ui::Sample sample, const std::string& entry, QSize size);

private:
    struct Bound {
        int page;
        const ui::Field* field;
        QWidget* widget;
    };
    QWidget* BuildPage(int index, ui::IPropertyPage& page);
    // The fields first to end (not included) of a page side by side in one row.
    QWidget* BuildRow(int index, ui::IPropertyPage& page, std::size_t first, std::size_t end);
    // Builds a field's widget and binds it to the field.
    QWidget* Bind(int index, ui::IPropertyPage& page, const ui::Field& field);
    QWidget* BuildField(int index, ui::IPropertyPage& page, const ui::Field& field);
    void Edited(int page, const std::string& caption, const std::string& value);
    void Pressed(int page, const std::string& caption);
    void Refresh();
    void Show(const Bound& b);

    std::vector<ui::IPropertyPage*> pages_;
    std::vector<Bound> bound_;
    QDialogButtonBox* buttons_ = nullptr;
    bool refreshing_ = false;
};
