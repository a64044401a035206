#include "batch/command_options.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string_view>

#include "batch/picture_scaling.h"

namespace {

constexpr char Usage[] =
    "Aufruf:\r\n"
    "  glyphmill.exe [BILD]\r\n"
    "      startet Glyphmill und lädt BILD, wenn angegeben.\r\n"
    "  glyphmill.exe --convert BILD [Optionen]\r\n"
    "      wandelt BILD ohne Fenster um und endet.\r\n"
    "  glyphmill.exe --convert BILD BILD... --out-dir ORDNER [Optionen]\r\n"
    "      wandelt mehrere Bilder (auch *.jpg) parallel um, je eine Datei in ORDNER.\r\n"
    "Optionen:\r\n"
    "  --method 4pixel|exakt|graustufen   Methode (Vorgabe: 4pixel)\r\n"
    "  --height original|half             Höhe bei 4pixel (Vorgabe: half)\r\n"
    "  --brightness 32..224               Helligkeit (Vorgabe: 128)\r\n"
    "  --out DATEI                        .txt, .htm/.html oder .bmp; sonst Standardausgabe\r\n"
    "  --fontsize -3..3                   Schriftgrad der HTML-Seite (Vorgabe: 0)\r\n"
    "  --width 8..1000                    Spalten (4pixel: bis 250); das Bild wird\r\n"
    "                                     flächengemittelt passend skaliert\r\n"
    "  --color                            Farbe je Zeichen: HTML, Grafik oder 24-Bit-\r\n"
    "                                     ANSI-Farben auf der Standardausgabe\r\n"
    "  --out-dir ORDNER                   je Bild eine Datei BILDNAME.txt/.htm/.bmp; ein im\r\n"
    "                                     Lauf schon vergebener Name wird Katze-2.txt, -3 ...\r\n"
    "  --format txt|htm|bmp               Form bei --out-dir (Vorgabe: txt)\r\n"
    "  --help                             diese Hilfe\r\n"
    "Schalter dürfen auch mit \"/\" beginnen (/convert).\r\n"
    "Rückgabewerte: 0 erfolgreich, 1 falsche Argumente, 2 Bild nicht lesbar,\r\n"
    "3 Ausgabe nicht schreibbar; bei mehreren Bildern der höchste.\r\n"
    "Beispiele (im Ordner von glyphmill.exe, wo beispiel.bmp liegt):\r\n"
    "  glyphmill.exe --convert beispiel.bmp --width 40\r\n"
    "  glyphmill.exe --convert beispiel.bmp --method exakt --color --out farbig.htm\r\n"
    "  glyphmill.exe --convert *.bmp beispiel.bmp --out-dir ergebnisse --format htm\r\n";

constexpr int32_t MinColumns = 8;
constexpr int32_t MaxColumns = 1000;

enum class Switch {
    None,
    Convert,
    Method,
    Height,
    Brightness,
    Out,
    FontSize,
    Width,
    Color,
    OutDir,
    Format,
    Help,
    Unknown
};

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return lower;
}

// "--name" always names a switch. "/name" only for the switches' own names, so that a
// path beginning with "/" stays a path.
Switch SwitchOf(const std::string& word)
{
    struct Named {
        const char* name;
        Switch value;
    };
    constexpr Named Switches[] = {
        {"convert", Switch::Convert},       {"method", Switch::Method}, {"height", Switch::Height},
        {"brightness", Switch::Brightness}, {"out", Switch::Out},       {"fontsize", Switch::FontSize},
        {"width", Switch::Width},           {"color", Switch::Color},   {"out-dir", Switch::OutDir},
        {"format", Switch::Format},         {"help", Switch::Help},     {"?", Switch::Help}};
    bool dashes = word.size() > 2 && word.starts_with("--");
    bool slash = word.size() > 1 && word[0] == '/';
    if (!dashes && !slash)
        return Switch::None;
    std::string name = Lower(std::string_view(word).substr(dashes ? 2 : 1));
    for (const Named& entry : Switches)
        if (name == entry.name)
            return entry.value;
    return dashes ? Switch::Unknown : Switch::None;
}

std::optional<int32_t> WholeNumber(std::string_view text, int32_t low, int32_t high)
{
    if (text.starts_with('+'))
        text.remove_prefix(1);
    int32_t value = 0;
    auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || failure != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<OutputForm> FormOf(const std::string& path)
{
    std::string lower = Lower(path);
    size_t dot = lower.find_last_of(".\\/:");
    if (dot == std::string::npos || lower[dot] != '.')
        return std::nullopt;
    std::string extension = lower.substr(dot);
    if (extension == ".txt")
        return OutputForm::Text;
    if (extension == ".htm" || extension == ".html")
        return OutputForm::Html;
    if (extension == ".bmp")
        return OutputForm::Bitmap;
    return std::nullopt;
}

CommandOptions Invalid(std::string message)
{
    CommandOptions options;
    options.mode = RunMode::Invalid;
    options.error = std::move(message);
    return options;
}

// Applies the value of one option; "" when it is fine, else the message.
std::string ApplyOption(CommandOptions& options, Switch option, const std::string& name, const std::string& value)
{
    std::string lower = Lower(value);
    switch (option) {
    case Switch::Method:
        if (lower == "4pixel")
            options.method = BatchMethod::FourPixel;
        else if (lower == "exakt")
            options.method = BatchMethod::Exact;
        else if (lower == "graustufen")
            options.method = BatchMethod::Greyscale;
        else
            return "Unbekannte Methode \"" + value + "\" bei " + name + " (erlaubt: 4pixel, exakt, graustufen).";
        return "";
    case Switch::Height:
        if (lower != "original" && lower != "half")
            return "Unbekannte Höhe \"" + value + "\" bei " + name + " (erlaubt: original, half).";
        options.halfHeight = lower == "half";
        return "";
    case Switch::Brightness:
        if (auto number = WholeNumber(value, 32, 224)) {
            options.brightness = *number;
            return "";
        }
        return "Die Helligkeit \"" + value + "\" bei " + name + " muss eine ganze Zahl von 32 bis 224 sein.";
    case Switch::FontSize:
        if (auto number = WholeNumber(value, -3, 3)) {
            options.fontSize = *number;
            return "";
        }
        return "Der Schriftgrad \"" + value + "\" bei " + name + " muss eine ganze Zahl von -3 bis 3 sein.";
    case Switch::Out:
        if (auto form = FormOf(value)) {
            options.output = value;
            options.form = *form;
            return "";
        }
        return "Die Ausgabedatei \"" + value + "\" bei " + name + " muss auf .txt, .htm, .html oder .bmp enden.";
    case Switch::Width:
        if (auto number = WholeNumber(value, MinColumns, MaxColumns)) {
            options.columns = *number;
            return "";
        }
        return "Die Breite \"" + value + "\" bei " + name + " muss eine ganze Zahl von 8 bis 1000 (Spalten) sein.";
    case Switch::OutDir:
        if (value.empty())
            return "Nach \"" + name + "\" fehlt der Ordner.";
        options.outputFolder = value;
        return "";
    case Switch::Format:
        if (auto form = FormOf("." + value)) {
            options.form = *form;
            return "";
        }
        return "Unbekannte Form \"" + value + "\" bei " + name + " (erlaubt: txt, htm, bmp).";
    default:
        return "";
    }
}

// What the options say together, once each is known to be fine on its own; "" when fine.
std::string CheckCombination(const CommandOptions& options, const std::vector<Switch>& seen)
{
    auto given = [&](Switch option) { return std::find(seen.begin(), seen.end(), option) != seen.end(); };
    if (given(Switch::Out) && given(Switch::OutDir))
        return "--out und --out-dir schließen einander aus.";
    if (given(Switch::Format) && !given(Switch::OutDir))
        return "--format gilt nur zusammen mit --out-dir (sonst bestimmt die Endung bei --out die Form).";
    if (options.pictures.size() > 1 && !given(Switch::OutDir))
        return "Mehrere Bilder brauchen --out-dir ORDNER; --out und die Standardausgabe nehmen nur ein Bild.";
    if (given(Switch::FontSize) && options.form != OutputForm::Html)
        return "--fontsize gilt nur für eine HTML-Ausgabe (--out mit .htm oder .html, --format htm).";
    if (options.colour && options.form == OutputForm::Text)
        return "Eine Textdatei hat keine Farbe: --color gilt für HTML, Grafik und die Standardausgabe.";
    if (options.columns > FourPixelMaxColumns && options.method == BatchMethod::FourPixel)
        return "4pixel ergibt höchstens 250 Spalten; für mehr --method exakt oder graustufen.";
    return "";
}

CommandOptions ParseConversion(const std::vector<std::string>& words)
{
    CommandOptions options;
    options.mode = RunMode::Convert;
    std::vector<Switch> seen;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        Switch option = SwitchOf(word);
        if (option == Switch::None)
            return Invalid("Unerwartetes Argument \"" + word + "\".");
        if (option == Switch::Unknown)
            return Invalid("Unbekannte Option \"" + word + "\".");
        if (std::find(seen.begin(), seen.end(), option) != seen.end())
            return Invalid("Die Option \"" + word + "\" ist doppelt angegeben.");
        seen.push_back(option);
        if (option == Switch::Color) {
            options.colour = true;
            continue;
        }
        if (i + 1 >= words.size())
            return Invalid("Nach \"" + word + "\" fehlt ein Wert.");
        const std::string& value = words[++i];
        if (option == Switch::Convert) {
            // The pictures are the words up to the next switch.
            options.pictures.push_back(value);
            while (i + 1 < words.size() && SwitchOf(words[i + 1]) == Switch::None)
                options.pictures.push_back(words[++i]);
            if (std::find(options.pictures.begin(), options.pictures.end(), "") != options.pictures.end())
                return Invalid("Nach \"" + word + "\" fehlt das Bild.");
            options.picture = value;
            continue;
        }
        std::string problem = ApplyOption(options, option, word, value);
        if (!problem.empty())
            return Invalid(problem);
    }
    if (!options.outputFolder.empty() && std::find(seen.begin(), seen.end(), Switch::Format) == seen.end())
        options.form = OutputForm::Text;
    std::string problem = CheckCombination(options, seen);
    if (!problem.empty())
        return Invalid(problem);
    return options;
}

}  // namespace

CommandOptions ParseCommandLine(const std::vector<std::string>& words)
{
    bool converts = false;
    for (const std::string& word : words) {
        Switch option = SwitchOf(word);
        if (option == Switch::Help) {
            CommandOptions options;
            options.mode = RunMode::Help;
            return options;
        }
        converts = converts || option == Switch::Convert;
    }
    if (converts)
        return ParseConversion(words);

    CommandOptions options;
    for (const std::string& word : words) {
        Switch option = SwitchOf(word);
        if (option == Switch::None)
            continue;
        options = Invalid(option == Switch::Unknown ? "Unbekannte Option \"" + word + "\"."
                                                    : "Die Option \"" + word + "\" gilt nur zusammen mit --convert.");
        options.inWindow = true;
        return options;
    }
    // "Open with" on several pictures names them all; the window takes one, the first.
    if (!words.empty())
        options.picture = words[0];
    return options;
}

const char* UsageText()
{
    return Usage;
}
