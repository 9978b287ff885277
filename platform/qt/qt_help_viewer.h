// A help viewer for compiled HTML help files (.chm), opened at a topic, with links between topics.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

#include <string>

namespace nonari {

class QtHelpViewer {
public:
    QtHelpViewer() = default;
    // Closes the viewer with the program.
    ~QtHelpViewer();
    QtHelpViewer(const QtHelpViewer&) = delete;
    QtHelpViewer& operator=(const QtHelpViewer&) = delete;

    // Opens (or raises) the viewer at the topic; false when the file cannot be read or lacks the topic.
    bool show(const std::string& file, const std::string& topic);
    // The program that reads the manual's pages (by default the one beside this program, else the
    // installed one); for tests and tools that run outside the build's program folder.
    static void usePageReader(const std::string& program);
    // For tests: the viewer window while it is open.
    QWidget* window() const { return viewer; }

private:
    QPointer<QWidget> viewer;
};

}  // namespace nonari
