#include "qt/QtPropertySheet.h"

#include "render/DrawTables.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include <map>
#include <optional>
#include <sstream>

namespace {

constexpr QSize kSampleSize(48, 14);
constexpr int kSheetWidth = 560; // wide enough for the tabs of a plot's usual pages
// A row of radio buttons wider than this wraps into two columns.
constexpr int kRadioRowWidth = kSheetWidth - 160;
constexpr int kRadioColumns = 2;
// Numeric edits and spins are as wide as this text, with room for the spin's arrows.
constexpr char kWidestNumber[] = "-0.000000e+000";
constexpr int kSpinArrowsWidth = 28;

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::optional<int> EntryIndex(const std::string& entry) {
    if (entry.empty() || entry.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    return std::stoi(entry);
}

QColor ColourOf(gdi::ColorRef c) {
    return QColor(int(gdi::RedOf(c)), int(gdi::GreenOf(c)), int(gdi::BlueOf(c)));
}

void DrawMarker(QPainter& p, const DrawTables::Marker& m, QPointF c, double r) {
    using DrawTables::MarkerShape;
    QPainterPath path;
    switch (m.shape) {
    case MarkerShape::None:
        return;
    case MarkerShape::Circle:
        path.addEllipse(c, r, r);
        break;
    case MarkerShape::Square:
        path.addRect(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r));
        break;
    case MarkerShape::Diamond:
        path.moveTo(c.x(), c.y() - r);
        path.lineTo(c.x() + r, c.y());
        path.lineTo(c.x(), c.y() + r);
        path.lineTo(c.x() - r, c.y());
        path.closeSubpath();
        break;
    case MarkerShape::TriangleUp:
    case MarkerShape::TriangleDown: {
        const double s = m.shape == MarkerShape::TriangleUp ? 1 : -1;
        path.moveTo(c.x(), c.y() - s * r);
        path.lineTo(c.x() + r, c.y() + s * r);
        path.lineTo(c.x() - r, c.y() + s * r);
        path.closeSubpath();
        break;
    }
    case MarkerShape::Plus:
        p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
        p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
        return;
    }
    if (m.filled) p.fillPath(path, Qt::black);
    p.drawPath(path);
}

// The width of a numeric edit: a number in full, not the whole row.
int NumberWidth(const QWidget& edit) {
    return edit.fontMetrics().horizontalAdvance(QLatin1String(kWidestNumber)) +
           2 * edit.fontMetrics().averageCharWidth();
}

} // namespace

QPixmap QtPropertySheet::SamplePixmap(ui::Sample sample, const std::string& entry, QSize size) {
    const std::optional<int> index = EntryIndex(entry);
    const bool solid = sample == ui::Sample::Hatch && entry == "Solid";
    if (!index && !solid) return {};
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    const QRect box(2, 2, size.width() - 4, size.height() - 4);
    const int i = index.value_or(0);
    switch (sample) {
    case ui::Sample::Colour:
        if (i >= int(DrawTables::kPalette.size())) return {};
        p.fillRect(box, ColourOf(DrawTables::kPalette[std::size_t(i)]));
        p.setPen(Qt::black);
        p.drawRect(box);
        break;
    case ui::Sample::Marker:
        if (i >= DrawTables::kMarkerCount) return {};
        p.setRenderHint(QPainter::Antialiasing);
        DrawMarker(p, DrawTables::kMarkers[std::size_t(i)], QRectF(box).center(),
                   box.height() / 2.0 - 1);
        break;
    case ui::Sample::Line: {
        // Entry n is line type n of the table.
        if (i < 1 || i > DrawTables::kLineTypeCount) return {};
        const DrawTables::LineType& t = DrawTables::kLineTypes[std::size_t(i - 1)];
        QPen pen(Qt::black, t.width, Qt::SolidLine, Qt::FlatCap);
        if (t.dashCount > 0) {
            QList<qreal> dashes;
            for (int k = 0; k < t.dashCount; ++k)
                dashes << qreal(t.dashes[std::size_t(k)]) / t.width;
            pen.setDashPattern(dashes);
        }
        p.setPen(pen);
        p.drawLine(box.left(), box.center().y(), box.right(), box.center().y());
        break;
    }
    case ui::Sample::Hatch: {
        if (solid) {
            p.fillRect(box, Qt::black);
            break;
        }
        if (i < 1 || i > DrawTables::kHatchCount) return {};
        // 0 bits are drawn: the table's patterns are masks of the background.
        const DrawTables::Pattern& rows = DrawTables::kHatches[std::size_t(i - 1)];
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (!(rows[std::size_t(y % 8)] & (0x80 >> (x % 8)))) p.drawPoint(x, y);
        p.drawRect(box);
        break;
    }
    case ui::Sample::Text:
    case ui::Sample::FontFamily:
        return {};
    }
    return pixmap;
}

QtPropertySheet::QtPropertySheet(const QString& caption,
                                 const std::vector<ui::IPropertyPage*>& pages, QWidget* parent)
    : QDialog(parent), pages_(pages) {
    setWindowTitle(caption);
    setMinimumWidth(kSheetWidth);
    auto* layout = new QVBoxLayout(this);
    auto* tabs = new QTabWidget(this);
    for (std::size_t i = 0; i < pages.size(); ++i)
        tabs->addTab(BuildPage(int(i), *pages[i]), Q(pages[i]->Caption()));
    layout->addWidget(tabs);
    buttons_ = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        ApplyPages();
        accept();
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { ApplyPages(); });
    Refresh();
    // The first edit of the first page takes the keys, so the user can type at once.
    for (const Bound& b : bound_)
        if (auto* edit = qobject_cast<QLineEdit*>(b.widget); edit && b.page == 0) {
            edit->setFocus();
            break;
        }
}

void QtPropertySheet::ApplyPages() {
    for (ui::IPropertyPage* page : pages_)
        page->Apply();
    Refresh();
}

QWidget* QtPropertySheet::FieldWidget(int page, const std::string& caption) const {
    for (const Bound& b : bound_)
        if (b.page == page && b.field->caption == caption) return b.widget;
    return nullptr;
}

namespace {

// The forms of one page in the order of its fields: loose fields in forms between the group
// boxes, each group in its box where its first field stands.
class FormStack {
public:
    explicit FormStack(QVBoxLayout& outer) : outer_(outer) {}

    QFormLayout& For(const std::string& group) {
        if (group.empty()) {
            if (!loose_) loose_ = Add(new QFormLayout, nullptr);
            return *loose_;
        }
        loose_ = nullptr; // loose fields after a group start a form below it
        auto it = groups_.find(group);
        if (it == groups_.end()) {
            auto* box = new QGroupBox(Q(group));
            it = groups_.emplace(group, Add(new QFormLayout(box), box)).first;
        }
        return *it->second;
    }

    // Gives every label of the page the widest label's width, so that the fields of all its
    // forms start in line.
    void AlignLabels() const {
        std::vector<QWidget*> labels;
        int widest = 0;
        for (QFormLayout* form : forms_) {
            for (int row = 0; row < form->rowCount(); ++row) {
                QLayoutItem* item = form->itemAt(row, QFormLayout::LabelRole);
                if (!item || !item->widget()) continue;
                labels.push_back(item->widget());
                widest = std::max(widest, item->widget()->sizeHint().width());
            }
        }
        for (QWidget* label : labels)
            label->setMinimumWidth(widest);
    }

private:
    QFormLayout* Add(QFormLayout* form, QGroupBox* box) {
        if (box)
            outer_.addWidget(box);
        else
            outer_.addLayout(form);
        forms_.push_back(form);
        return form;
    }

    QVBoxLayout& outer_;
    QFormLayout* loose_ = nullptr;
    std::map<std::string, QFormLayout*> groups_;
    std::vector<QFormLayout*> forms_;
};

bool ShowsOwnText(const ui::Field& f) {
    return f.kind == ui::FieldKind::Check || f.kind == ui::FieldKind::Button ||
           f.kind == ui::FieldKind::Note ||
           (f.kind == ui::FieldKind::Radio && f.group == f.caption);
}

bool IsPlainEdit(const ui::Field& f) {
    return f.kind == ui::FieldKind::Text && f.sample != ui::Sample::FontFamily;
}

bool IsNumeric(const ui::Field& f) {
    return f.kind == ui::FieldKind::Number || f.kind == ui::FieldKind::Integer;
}

// Where the row that starts with field `first` ends: a run of buttons shares one row, a
// single button stands beside the edit before it, and fields shown beside the one before
// them (a unit, a range's high end) join its row.
std::size_t RowEnd(const std::vector<ui::Field>& fields, std::size_t first) {
    const auto joins = [&](std::size_t i) {
        return i < fields.size() && fields[i].group == fields[first].group;
    };
    const auto isButton = [&](std::size_t i) {
        return joins(i) && fields[i].kind == ui::FieldKind::Button;
    };
    std::size_t end = first + 1;
    if (isButton(first)) {
        while (isButton(end))
            ++end;
        return end;
    }
    if (IsPlainEdit(fields[first]) && isButton(end) && !isButton(end + 1)) return end + 1;
    while (joins(end) && fields[end].beside)
        ++end;
    return end;
}

} // namespace

QWidget* QtPropertySheet::BuildPage(int index, ui::IPropertyPage& page) {
    auto* widget = new QWidget;
    auto* outer = new QVBoxLayout(widget);
    FormStack forms(*outer);
    const std::vector<ui::Field>& fields = page.Fields();
    for (std::size_t first = 0; first < fields.size();) {
        const std::size_t end = RowEnd(fields, first);
        const ui::Field& lead = fields[first];
        // A button keeps its size in a row of its own.
        const bool alone = end == first + 1 && lead.kind != ui::FieldKind::Button;
        QWidget* row = alone ? Bind(index, page, lead) : BuildRow(index, page, first, end);
        QFormLayout& form = forms.For(lead.group);
        if (ShowsOwnText(lead) || lead.unlabelled)
            form.addRow(row);
        else
            form.addRow(Q(lead.Label()), row);
        first = end;
    }
    forms.AlignLabels();
    outer->addStretch();
    return widget;
}

QWidget* QtPropertySheet::Bind(int index, ui::IPropertyPage& page, const ui::Field& field) {
    QWidget* w = BuildField(index, page, field);
    bound_.push_back({index, &field, w});
    return w;
}

QWidget* QtPropertySheet::BuildRow(int index, ui::IPropertyPage& page, std::size_t first,
                                   std::size_t end) {
    const std::vector<ui::Field>& fields = page.Fields();
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = first; i < end; ++i) {
        const ui::Field& f = fields[i];
        if (i > first && !ShowsOwnText(f)) layout->addWidget(new QLabel(Q(f.Label())));
        QWidget* w = Bind(index, page, f);
        // In a row, numbers keep their width and notes their line.
        if (IsNumeric(f)) w->setMinimumWidth(w->maximumWidth());
        if (auto* note = qobject_cast<QLabel*>(w)) note->setWordWrap(false);
        layout->addWidget(w);
    }
    // An edit with its button fills the row; buttons, ranges and units keep their sizes.
    if (!IsPlainEdit(fields[first])) layout->addStretch();
    return row;
}

QWidget* QtPropertySheet::BuildField(int index, ui::IPropertyPage& page, const ui::Field& f) {
    const std::string caption = f.caption;
    auto edited = [this, index, caption](const std::string& v) { Edited(index, caption, v); };
    switch (f.kind) {
    case ui::FieldKind::Note: {
        auto* label = new QLabel(Q(f.caption));
        label->setWordWrap(true);
        return label;
    }
    case ui::FieldKind::Check: {
        auto* box = new QCheckBox(Q(f.Label()));
        connect(box, &QCheckBox::toggled, this, [edited](bool on) { edited(on ? "1" : "0"); });
        return box;
    }
    case ui::FieldKind::Radio: {
        auto* row = new QWidget;
        auto* group = new QButtonGroup(row);
        std::vector<QRadioButton*> buttons;
        int width = 0;
        for (std::size_t i = 0; i < f.entries.size(); ++i) {
            buttons.push_back(new QRadioButton(Q(f.entries[i])));
            group->addButton(buttons.back(), int(i));
            width += buttons.back()->sizeHint().width();
        }
        // In one line when they fit, else in columns, row by row.
        auto* layout = new QGridLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        const int columns = width > kRadioRowWidth ? kRadioColumns : int(buttons.size());
        for (int i = 0; i < int(buttons.size()); ++i)
            layout->addWidget(buttons[std::size_t(i)], i / columns, i % columns);
        layout->setColumnStretch(columns, 1);
        connect(group, &QButtonGroup::idClicked, this,
                [edited](int id) { edited(std::to_string(id)); });
        return row;
    }
    case ui::FieldKind::Text:
        if (f.sample == ui::Sample::FontFamily) {
            auto* combo = new QComboBox;
            combo->addItems(QFontDatabase::families());
            connect(combo, &QComboBox::textActivated, this,
                    [edited](const QString& t) { edited(t.toStdString()); });
            return combo;
        }
        [[fallthrough]];
    case ui::FieldKind::Number: {
        auto* edit = new QLineEdit;
        if (f.kind == ui::FieldKind::Number) {
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9eEdD+\\-.]*")), edit));
            edit->setMaximumWidth(NumberWidth(*edit));
        }
        connect(edit, &QLineEdit::textEdited, this,
                [edited](const QString& t) { edited(t.toStdString()); });
        return edit;
    }
    case ui::FieldKind::Integer: {
        auto* spin = new QSpinBox;
        spin->setRange(f.low, f.high);
        spin->setMaximumWidth(NumberWidth(*spin) + kSpinArrowsWidth);
        connect(spin, &QSpinBox::valueChanged, this,
                [edited](int v) { edited(std::to_string(v)); });
        return spin;
    }
    case ui::FieldKind::Choice: {
        auto* combo = new QComboBox;
        combo->setIconSize(kSampleSize);
        connect(combo, &QComboBox::activated, this, [edited](int i) { edited(std::to_string(i)); });
        return combo;
    }
    case ui::FieldKind::List: {
        auto* list = new QListWidget;
        list->setSelectionMode(f.multiSelect ? QAbstractItemView::ExtendedSelection
                                             : QAbstractItemView::SingleSelection);
        list->setMinimumHeight(90);
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list, edited] {
            if (refreshing_) return;
            std::vector<int> rows;
            for (const QModelIndex& m : list->selectionModel()->selectedRows())
                rows.push_back(m.row());
            std::sort(rows.begin(), rows.end());
            std::string value;
            for (int r : rows) {
                if (!value.empty()) value += ',';
                value += std::to_string(r);
            }
            edited(value);
        });
        return list;
    }
    case ui::FieldKind::Button: {
        auto* button = new QPushButton(Q(f.caption));
        connect(button, &QPushButton::clicked, this,
                [this, index, caption] { Pressed(index, caption); });
        return button;
    }
    }
    (void)page;
    return new QWidget;
}

void QtPropertySheet::Edited(int page, const std::string& caption, const std::string& value) {
    if (refreshing_) return;
    pages_[std::size_t(page)]->Edit(caption, value);
    Refresh();
}

void QtPropertySheet::Pressed(int page, const std::string& caption) {
    pages_[std::size_t(page)]->Press(caption);
    Refresh();
}

void QtPropertySheet::Refresh() {
    refreshing_ = true;
    for (const Bound& b : bound_)
        Show(b);
    bool changed = false;
    for (const ui::IPropertyPage* page : pages_)
        changed = changed || page->Changed();
    buttons_->button(QDialogButtonBox::Apply)->setEnabled(changed);
    refreshing_ = false;
}

void QtPropertySheet::Show(const Bound& b) {
    const ui::IPropertyPage& page = *pages_[std::size_t(b.page)];
    const ui::Field& f = *b.field;
    const std::string value = page.Value(f.caption);
    const QSignalBlocker block(b.widget);
    switch (f.kind) {
    case ui::FieldKind::Note:
        // A note with a value shows it after its caption.
        if (!value.empty()) static_cast<QLabel*>(b.widget)->setText(Q(f.caption + ": " + value));
        break;
    case ui::FieldKind::Button:
        break;
    case ui::FieldKind::Check:
        static_cast<QCheckBox*>(b.widget)->setChecked(value == "1");
        break;
    case ui::FieldKind::Radio: {
        const auto buttons = b.widget->findChildren<QRadioButton*>();
        for (int i = 0; i < buttons.size(); ++i)
            buttons[i]->setChecked(std::to_string(i) == value);
        break;
    }
    case ui::FieldKind::Text:
    case ui::FieldKind::Number:
        if (auto* combo = qobject_cast<QComboBox*>(b.widget)) {
            if (combo->findText(Q(value)) < 0) combo->addItem(Q(value));
            combo->setCurrentText(Q(value));
        } else if (auto* edit = qobject_cast<QLineEdit*>(b.widget); edit->text() != Q(value)) {
            edit->setText(Q(value));
        }
        break;
    case ui::FieldKind::Integer: {
        auto* spin = static_cast<QSpinBox*>(b.widget);
        spin->setRange(f.low, f.high);
        spin->setValue(QString::fromStdString(value).toInt());
        break;
    }
    case ui::FieldKind::Choice: {
        auto* combo = static_cast<QComboBox*>(b.widget);
        const std::vector<std::string> entries = page.Entries(f.caption);
        if (combo->count() != int(entries.size())) {
            combo->clear();
            for (const std::string& e : entries) {
                const QPixmap sample = SamplePixmap(f.sample, e, kSampleSize);
                // Samples stand for themselves; words ("none") are shown as text.
                combo->addItem(QIcon(sample), sample.isNull() ? Q(e) : QString());
            }
        }
        combo->setCurrentIndex(QString::fromStdString(value).toInt());
        break;
    }
    case ui::FieldKind::List: {
        auto* list = static_cast<QListWidget*>(b.widget);
        const std::vector<std::string> entries = page.Entries(f.caption);
        QStringList items;
        for (const std::string& e : entries)
            items << Q(e);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        if (shown != items) {
            list->clear();
            list->addItems(items);
        }
        std::istringstream in(value);
        std::string item;
        list->clearSelection();
        while (std::getline(in, item, ','))
            if (!item.empty() && std::stoi(item) < list->count())
                list->item(std::stoi(item))->setSelected(true);
        break;
    }
    }
}
