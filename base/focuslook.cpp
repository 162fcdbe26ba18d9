#include "base/focuslook.h"

#include <QAbstractItemView>
#include <QEvent>

namespace {

// The selection's colours follow the focus. A style sheet cannot say that: it sets a widget's colours
// once, whatever has the focus, so the list's own palette changes as the focus comes and goes.
class SelectionFollowsFocus : public QObject {
public:
    explicit SelectionFollowsFocus(QAbstractItemView& list)
        : QObject(&list), m_highlight(list.palette().color(QPalette::Active, QPalette::Highlight)),
          m_highlightedText(list.palette().color(QPalette::Active, QPalette::HighlightedText)),
          m_grey(list.palette().color(QPalette::Active, QPalette::Mid)),
          m_text(list.palette().color(QPalette::Active, QPalette::Text)) {
        Show(list, list.hasFocus());
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            Show(*static_cast<QAbstractItemView*>(watched), event->type() == QEvent::FocusIn);
        return false;
    }

private:
    void Show(QAbstractItemView& list, bool focused) const {
        QPalette palette = list.palette();
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Highlight, focused ? m_highlight : m_grey);
            palette.setColor(group, QPalette::HighlightedText, focused ? m_highlightedText : m_text);
        }
        list.setPalette(palette);
    }

    const QColor m_highlight, m_highlightedText, m_grey, m_text;
};

} // namespace

void ShowFocusClearly(QAbstractItemView& list) {
    // Tab goes on to the next control, as from any other control: a table keeps Tab for moving from
    // cell to cell otherwise, and the keyboard could not leave it.
    list.setTabKeyNavigation(false);
    // The frame is drawn with the list, so a style sheet of the list's own can make it follow the focus;
    // the window's style draws everything else as before. The sheet names the list's own class: its
    // heading is an item view too and keeps its own look.
    list.setStyleSheet(QStringLiteral("%1 { border: 2px solid palette(mid); }"
                                      "%1:focus { border: 2px solid palette(highlight); }")
                           .arg(QLatin1String(list.metaObject()->className())));
    list.installEventFilter(new SelectionFollowsFocus(list));
}
