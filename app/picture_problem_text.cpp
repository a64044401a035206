#include "picture_path.h"

std::string PictureProblemText(PictureProblem problem, const std::string& path)
{
    std::string text = "Die Grafik kann nicht geöffnet werden: " + path + "\r\n";
    switch (problem) {
    case PictureProblem::Missing:
        return text + "Die Datei gibt es nicht.";
    case PictureProblem::Folder:
        return text + "Das ist ein Ordner, keine Datei.";
    case PictureProblem::Unreadable:
        return text + "Die Datei kann nicht gelesen werden.";
    case PictureProblem::None:
        break;
    }
    return text;
}
