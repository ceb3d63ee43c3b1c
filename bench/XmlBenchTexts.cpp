#include "XmlBenchTexts.h"

#include <cstdio>
#include <fstream>
#include <iterator>

// A large XML file that Debian installs; used when present, in addition to the generated one.
const char* const kSystemXmlFile = "/usr/share/mime/packages/freedesktop.org.xml";

std::string FilePath(int index) {
    char path[64];
    std::snprintf(path, sizeof path, "C:\\Build\\Product\\bin\\module%06d.dll", index);
    return path;
}

// The text a project with the given number of upload entries is saved as.
std::string ProjectText(int entries) {
    static const char* const values[][2] = {
        {"ScriptFile", "C:\\Scripts\\update.tsc"},
        {"INIpath", "C:\\Windows\\TarvonSvc4.ini"},
        {"LogPath", "C:\\Windows\\System32\\TarvonSvc4.log"},
        {"ScriptURL", "http://updates.example.com/product/script.tsc"},
        {"FTPServer", "ftp.example.com"},
        {"Username", "publisher"},
        {"Password", "[0A1B2C3D4E5F67890A1B2C3D4E5F6789]"},
        {"PASV", "Y"},
        {"Preconfig", "N"},
        {"ProxyServer", "proxy.example.com:8080"},
        {"ServerFolder", "/pub/updates/product"},
        {"Timeout", "30000"},
        {"UseProxy", "N"},
    };
    std::string text = "<ProjectDetail TarvonSCPProjectVer=\"1.00\">\r\n";
    for (const auto& value : values)
        text += std::string("<") + value[0] + ">" + value[1] + "</" + value[0] + ">\r\n";
    text += "<Files>\r\n";
    for (int i = 0; i < entries; ++i)
        text += "<File>" + FilePath(i) + "</File>\r\n";
    return text + "</Files>\r\n</ProjectDetail>\r\n";
}

// About 8 MB of a general document: a declaration, comments, nesting four levels deep,
// attributes, character references, empty elements and indentation.
std::string GeneralText() {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- catalogue -->\n"
                       "<catalog xmlns=\"urn:example:catalog\" version=\"3\">\n";
    for (int s = 0; s < 400; ++s) {
        const std::string section = std::to_string(s);
        text += "  <section id=\"s" + section + "\" title=\"Section " + section + "\">\n";
        text += "    <!-- items of section " + section + " -->\n";
        for (int i = 0; i < 50; ++i) {
            const std::string item = section + "-" + std::to_string(i);
            text +=
                "    <item id=\"i" + item + "\" price=\"" + std::to_string(i * 7 % 100) +
                ".50\" available='true'>\n"
                "      <name>Item " +
                item +
                " &amp; accessories</name>\n"
                "      <description>A longer description of item " +
                item +
                ", with &lt;markup&gt; in words and some ordinary prose to carry the text "
                "along as real catalogues do.</description>\n"
                "      <tags><tag>alpha</tag><tag>beta</tag><tag kind=\"x\">gamma</tag></tags>\n"
                "      <stock warehouse=\"north\"/><stock warehouse=\"south\"/>\n"
                "    </item>\n";
        }
        text += "  </section>\n";
    }
    return text + "</catalog>\n";
}

std::string SystemText() {
    std::ifstream file(kSystemXmlFile, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}
