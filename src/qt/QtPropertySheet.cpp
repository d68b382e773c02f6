#include "qt/QtPropertySheet.h"

#include "render/DrawTables.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
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

QWidget* QtPropertySheet::BuildPage(int index, ui::IPropertyPage& page) {
    auto* widget = new QWidget;
    auto* outer = new QVBoxLayout(widget);
    auto* loose = new QFormLayout;
    outer->addLayout(loose);
    std::map<std::string, QFormLayout*> groups;
    for (const ui::Field& field : page.Fields()) {
        QFormLayout* form = loose;
        if (!field.group.empty()) {
            auto it = groups.find(field.group);
            if (it == groups.end()) {
                auto* box = new QGroupBox(Q(field.group));
                outer->addWidget(box);
                it = groups.emplace(field.group, new QFormLayout(box)).first;
            }
            form = it->second;
        }
        QWidget* w = BuildField(index, page, field);
        const bool ownText = field.kind == ui::FieldKind::Check ||
                             field.kind == ui::FieldKind::Button ||
                             field.kind == ui::FieldKind::Note ||
                             (field.kind == ui::FieldKind::Radio && field.group == field.caption);
        if (ownText || field.unlabelled)
            form->addRow(w);
        else
            form->addRow(Q(field.Label()), w);
        bound_.push_back({index, &field, w});
    }
    outer->addStretch();
    return widget;
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
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* group = new QButtonGroup(row);
        for (std::size_t i = 0; i < f.entries.size(); ++i) {
            auto* button = new QRadioButton(Q(f.entries[i]));
            group->addButton(button, int(i));
            layout->addWidget(button);
        }
        layout->addStretch();
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
        if (f.kind == ui::FieldKind::Number)
            edit->setValidator(new QRegularExpressionValidator(
                QRegularExpression(QStringLiteral("[0-9eEdD+\\-.]*")), edit));
        connect(edit, &QLineEdit::textEdited, this,
                [edited](const QString& t) { edited(t.toStdString()); });
        return edit;
    }
    case ui::FieldKind::Integer: {
        auto* spin = new QSpinBox;
        spin->setRange(f.low, f.high);
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
