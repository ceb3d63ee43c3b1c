#include "cli/ProjectJson.h"

#include "project/ProjectFields.h"
#include "project/TextEncoding.h"

#include <cstdint>
#include <limits>

namespace {

using nlohmann::json;

nlohmann::ordered_json FieldToJson(const SProjectField& field, const SProject& project,
                                   bool showPassword) {
    switch (field.kind) {
    case EProjectValueKind::Text:
        return AsUtf8(project.*field.text);
    case EProjectValueKind::Password:
        return showPassword ? AsUtf8(project.*field.text) : kHiddenPassword;
    case EProjectValueKind::Switch:
        return project.*field.flag;
    case EProjectValueKind::Number:
        return project.*field.number;
    }
    return nullptr;
}

std::string KeyError(const std::string& key, const std::string& expected) {
    return "'" + key + "' must be " + expected;
}

bool ReadText(const std::string& key, const json& value, std::string& text, std::string& error) {
    if (!value.is_string()) {
        error = KeyError(key, "a string");
        return false;
    }
    const std::string& bytes = value.get_ref<const std::string&>();
    if (bytes.find('\0') != std::string::npos) {
        error = KeyError(key, "a string without zero characters");
        return false;
    }
    text = bytes;
    return true;
}

bool ReadSwitch(const std::string& key, const json& value, bool& flag, std::string& error) {
    if (!value.is_boolean()) {
        error = KeyError(key, "true or false");
        return false;
    }
    flag = value.get<bool>();
    return true;
}

bool ReadNumber(const std::string& key, const json& value, uint32_t& number, std::string& error) {
    if (!value.is_number_unsigned() ||
        value.get<uint64_t>() > std::numeric_limits<uint32_t>::max()) {
        error = KeyError(key, "a whole number from 0 to 4294967295");
        return false;
    }
    number = static_cast<uint32_t>(value.get<uint64_t>());
    return true;
}

bool ReadFiles(const json& value, std::vector<std::string>& files, std::string& error) {
    if (!value.is_array()) {
        error = KeyError(kFilesElement, "an array of strings");
        return false;
    }
    std::vector<std::string> entries;
    for (const json& entry : value) {
        const std::string label =
            std::string(kFilesElement) + "[" + std::to_string(entries.size()) + "]";
        entries.emplace_back();
        if (!ReadText(label, entry, entries.back(), error)) {
            return false;
        }
    }
    files = std::move(entries);
    return true;
}

bool ApplyField(const SProjectField& field, const json& value, SProject& project,
                std::string& error) {
    switch (field.kind) {
    case EProjectValueKind::Text:
    case EProjectValueKind::Password:
        return ReadText(field.name, value, project.*field.text, error);
    case EProjectValueKind::Switch:
        return ReadSwitch(field.name, value, project.*field.flag, error);
    case EProjectValueKind::Number:
        return ReadNumber(field.name, value, project.*field.number, error);
    }
    return false;
}

const SProjectField* FindField(const std::string& key) {
    for (const SProjectField& field : kProjectFields) {
        if (key == field.name) {
            return &field;
        }
    }
    return nullptr;
}

} // namespace

nlohmann::ordered_json ProjectToJson(const SProject& project, bool showPassword) {
    nlohmann::ordered_json values = nlohmann::ordered_json::object();
    for (const SProjectField& field : kProjectFields) {
        values[field.name] = FieldToJson(field, project, showPassword);
    }
    nlohmann::ordered_json files = nlohmann::ordered_json::array();
    for (const std::string& file : project.files) {
        files.push_back(AsUtf8(file));
    }
    values[kFilesElement] = std::move(files);
    return values;
}

bool ApplyJson(const json& values, SProject& project, std::string& error) {
    if (!values.is_object()) {
        error = "the values must be a JSON object";
        return false;
    }
    for (const auto& [key, value] : values.items()) {
        if (key == kFilesElement) {
            if (!ReadFiles(value, project.files, error)) {
                return false;
            }
        } else if (const SProjectField* field = FindField(key)) {
            if (!ApplyField(*field, value, project, error)) {
                return false;
            }
        } else {
            error = "unknown key '" + key + "' (the keys are the element names of a project file)";
            return false;
        }
    }
    return true;
}
