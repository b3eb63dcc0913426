#pragma once

#include <QList>
#include <QString>

// One topic of the help window.
struct HelpTopic {
    QString node;   // the text of its node in the tree
    QString parent; // the node it hangs under; empty for a root
    QString title;  // the caption of the text frame
    QString text;   // a line break starts a new line
};

// The 24 topics, in the order in which a selected node is looked for.
const QList<HelpTopic>& HelpTopics();
