#include "widgets/resultlinesview.h"

#include <QTest>
#include <QTextBlock>

namespace {

struct ShownLine
{
    QString text;
    QColor colour;
};

QList<ShownLine> shownLines(const ResultLinesView &view)
{
    QList<ShownLine> lines;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next()) {
        const auto fragment = block.begin().fragment();
        lines.append({ block.text(),
            fragment.isValid() ? fragment.charFormat().foreground().color() : QColor() });
    }
    return lines;
}

} // namespace

class TestResultLinesView : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsEachLineInItsColourAndReplacesEarlierLines()
    {
        ResultLinesView view;
        view.setLines({ { QStringLiteral("old"), FaultColour },
            { QStringLiteral("older"), FaultColour }, { QStringLiteral("oldest"), FaultColour } });
        const ResultLines lines { { QStringLiteral(" Брак ОЗУ"), FaultColour },
            { QStringLiteral(" Норма приема тонов  ГМВ"), NormalColour },
            { QStringLiteral(" Брак приема КС "), FaultColour } };
        view.setLines(lines);

        const QList<ShownLine> shown = shownLines(view);
        QCOMPARE(shown.size(), lines.size());
        for (int i = 0; i < lines.size(); ++i) {
            QCOMPARE(shown[i].text, lines[i].text); // blanks kept on both ends
            QCOMPARE(shown[i].colour, lines[i].colour);
        }
        QVERIFY(view.isReadOnly());
    }

    void noLinesLeavesTheViewEmpty()
    {
        ResultLinesView view;
        view.setLines({ { QStringLiteral("Нет ответа"), FaultColour } });
        view.setLines({});
        QVERIFY(view.document()->isEmpty());
    }
};

QTEST_MAIN(TestResultLinesView)
#include "tst_resultlinesview.moc"
