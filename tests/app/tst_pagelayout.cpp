// The layout rules of the link-type pages, checked on the geometry alone: every control of
// every table gets a place, inside its box, clear of its neighbours, at the sizes the
// window description gives.

#include <QFontMetrics>
#include <QtTest>

#include "appfonts.h"
#include "pagelayout.h"

using namespace zd7240;

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct Placed {
    QString what;
    QRect rect;
};

} // namespace

class TestPageLayout : public QObject {
    Q_OBJECT

private:
    PageLayout LayOut(const PageTable& page) {
        const QFontMetrics metrics(DescriptionFont(QStringLiteral("MS Sans Serif"), 8));
        return LayOutPage(
            page, [&metrics](std::string_view text) { return metrics.horizontalAdvance(Q(text)); });
    }

private Q_SLOTS:
    void initTestCase() { RegisterApplicationFonts(); }

    void pages_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < Pages().size(); ++i)
            QTest::newRow(Pages()[i].slug.data()) << static_cast<int>(i);
    }

    // Each field, note, selector and box of the table is placed exactly once.
    void everythingPlaced_data() { pages_data(); }
    void everythingPlaced() {
        QFETCH(int, index);
        const PageTable& page = Pages()[static_cast<std::size_t>(index)];
        const PageLayout layout = LayOut(page);
        QCOMPARE(layout.boxes.size(), page.groups.size());
        QCOMPARE(layout.fields.size(), page.fields.size());
        QCOMPARE(layout.notes.size(), page.notes.size());
        QCOMPARE(layout.selectors.size(), page.selectors.size());
        QStringList notOnce;
        for (const FieldRow& field : page.fields) {
            const auto count = std::count_if(layout.fields.begin(), layout.fields.end(),
                                             [&](const auto& f) { return f.row == &field; });
            if (count != 1)
                notOnce << QStringLiteral("%1 placed %2 times").arg(Q(field.name)).arg(count);
        }
        QVERIFY2(notOnce.isEmpty(), qPrintable(notOnce.join(QStringLiteral(", "))));
        // Boxes on the page stand where the table puts them.
        QList<QRect> placed, tabled;
        for (const BoxPlacement& box : layout.boxes) {
            if (box.row->parent.empty()) {
                const Rect& r = box.row->rect;
                placed << box.rect;
                tabled << QRect(r.left, r.top, r.width, r.height);
            }
        }
        QCOMPARE(placed, tabled);
    }

    // Inside each box, every control lies below the caption and within the box, and no
    // two controls overlap; the two labels of a swapped pair share one place on purpose
    // and are a single label here.
    void insideAndClear_data() { pages_data(); }
    void insideAndClear() {
        QFETCH(int, index);
        const PageTable& page = Pages()[static_cast<std::size_t>(index)];
        const PageLayout layout = LayOut(page);
        QHash<QString, QList<Placed>> byBox;
        QHash<QString, QSize> boxSize;
        for (const BoxPlacement& box : layout.boxes) {
            boxSize.insert(Q(box.row->name), box.rect.size());
            if (!box.row->parent.empty())
                byBox[Q(box.row->parent)].append({Q(box.row->name), box.rect});
        }
        for (const FieldPlacement& field : layout.fields) {
            byBox[Q(field.row->group)].append({Q(field.row->name), field.edit});
            byBox[Q(field.row->group)].append({Q(field.row->label), field.label});
        }
        for (const NotePlacement& note : layout.notes)
            byBox[Q(note.row->group)].append({Q(note.row->text), note.rect});
        for (const SelectorPlacement& selector : layout.selectors)
            byBox[Q(selector.row->group)].append({Q(selector.row->name), selector.combo});

        QStringList wrong; // every control out of its box, every overlapping pair
        for (auto it = byBox.cbegin(); it != byBox.cend(); ++it) {
            const QRect inner(QPoint(1, 12), boxSize.value(it.key()) - QSize(2, 13));
            const QList<Placed>& placed = it.value();
            for (qsizetype i = 0; i < placed.size(); ++i) {
                const QString where = it.key() + QLatin1Char('/') + placed[i].what;
                if (!inner.contains(placed[i].rect))
                    wrong << where + QStringLiteral(" outside");
                for (qsizetype j = i + 1; j < placed.size(); ++j) {
                    if (placed[i].rect.intersects(placed[j].rect))
                        wrong << where + QStringLiteral(" overlaps ") + placed[j].what;
                }
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
    }

    // The sizes the description fixes: edits 89 x 19 one under the other, 40 apart in
    // card boxes; several edits of a row 26 x 19 on one line; combo 77 x 21; nested boxes
    // 187 x 153.
    void describedSizes_data() { pages_data(); }
    void describedSizes() {
        QFETCH(int, index);
        const PageTable& page = Pages()[static_cast<std::size_t>(index)];
        const PageLayout layout = LayOut(page);
        QHash<QString, QList<QRect>> edits;
        for (const FieldPlacement& field : layout.fields)
            edits[Q(field.row->group)].append(field.edit);
        // Every size or step that is off, by box and edit, so a failure names each one.
        QStringList wrong;
        const auto expect = [&wrong](bool ok, const QString& what) {
            if (!ok)
                wrong << what;
        };
        for (const BoxPlacement& box : layout.boxes) {
            const QString name = Q(box.row->name);
            const QList<QRect> rects = edits.value(name);
            const bool nested = !box.row->parent.empty();
            const bool row = !nested && box.rect.height() <= kPageLayout.rowBoxMaxHeight;
            if (nested)
                expect(box.rect.size() == QSize(187, 153), name + QStringLiteral(" size"));
            for (qsizetype i = 0; i < rects.size(); ++i) {
                const QString edit = QStringLiteral("%1 edit %2").arg(name).arg(i);
                if (row && rects.size() > 1) {
                    expect(rects[i].size() == QSize(26, 19), edit + QStringLiteral(" size"));
                    expect(rects[i].top() == rects[0].top(), edit + QStringLiteral(" top"));
                } else {
                    expect(rects[i].size() == QSize(89, 19), edit + QStringLiteral(" size"));
                }
                if (!row && !nested && i > 0)
                    expect(rects[i].top() - rects[i - 1].top() == 40,
                           edit + QStringLiteral(" step"));
                if (row && i > 0)
                    expect(rects[i].left() > rects[i - 1].right(),
                           edit + QStringLiteral(" overlaps the one before"));
            }
        }
        for (const SelectorPlacement& selector : layout.selectors)
            expect(selector.combo.size() == QSize(77, 21),
                   Q(selector.row->name) + QStringLiteral(" size"));
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
    }

    // Notes under the fields share one left edge: the labels' while the widest fits
    // there, further left (down to the box's inner margin) when it does not, so that it
    // stays on one line; only a note wider than the box's inside wraps.
    void notesStayOnOneLine_data() {
        QTest::addColumn<int>("widest");
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("left");
        // The nested box of Adsl--Mmx is 187 wide, its labels stand at 12.
        QTest::newRow("fits beside the labels") << 160 << 1 << 12;
        QTest::newRow("moves left") << 175 << 1 << 6;
        QTest::newRow("up to the inner margin") << 181 << 1 << 3;
        QTest::newRow("wider than the box wraps") << 182 << 2 << 3;
    }
    void notesStayOnOneLine() {
        QFETCH(int, widest);
        QFETCH(int, lines);
        QFETCH(int, left);
        const PageTable& page = Pages()[0];
        const PageLayout layout = LayOutPage(page, [widest](std::string_view text) {
            return text.starts_with("The End Vci") ? widest : 100;
        });
        int checked = 0;
        for (const NotePlacement& note : layout.notes) {
            if (note.row->group != "suiGroupBox6")
                continue;
            ++checked;
            QCOMPARE(note.rect.left(), left);
            QCOMPARE(note.rect.width(), 187 - 2 * left);
            const int width = note.row->text.starts_with("The End Vci") ? widest : 100;
            QCOMPARE(note.rect.height(), (width == widest ? lines : 1) * kPageLayout.textHeight);
        }
        QCOMPARE(checked, 2);
    }

    // A row too wide for its box, even with the least gaps, cuts its texts instead of
    // running past the box.
    void crowdedRowStaysInside() {
        const PageTable& page = Pages()[3]; // Lan--Mmx, four traffic edits in a row
        const PageLayout layout =
            LayOutPage(page, [](std::string_view text) { return int(text.size()) * 7; });
        for (const FieldPlacement& field : layout.fields) {
            if (field.row->group == "suiGroupBox36") {
                QVERIFY(field.label.left() >= 1);
                QVERIFY(field.label.right() < field.edit.left());
                QVERIFY2(field.edit.right() < 489 - 1, field.row->name.data());
            }
        }
    }
};

QTEST_MAIN(TestPageLayout)
#include "tst_pagelayout.moc"
