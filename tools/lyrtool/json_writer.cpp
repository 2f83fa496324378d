#include "json_writer.h"

#include <cmath>
#include <cstdio>

namespace lyrtool {

Json& Json::set(const std::string& key, Json value) {
    std::get<Object>(v_).emplace_back(key, std::move(value));
    return *this;
}

Json& Json::push(Json value) {
    std::get<Array>(v_).push_back(std::move(value));
    return *this;
}

std::string exactDouble(double d) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    return buf;
}

namespace {

void writeString(std::string& out, const std::string& s) {
    out.push_back('"');
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    out.push_back('"');
}

void newline(std::string& out, int indent) {
    out.push_back('\n');
    out.append(static_cast<std::size_t>(indent) * 2, ' ');
}

bool isScalarArray(const Json::Array& a) {
    for (const auto& e : a)
        if (e.isContainer()) return false;
    return true;
}

}  // namespace

void Json::write(std::string& out, int indent) const {
    if (std::holds_alternative<std::monostate>(v_)) {
        out += "null";
    } else if (auto b = std::get_if<bool>(&v_)) {
        out += *b ? "true" : "false";
    } else if (auto i = std::get_if<std::int64_t>(&v_)) {
        out += std::to_string(*i);
    } else if (auto u = std::get_if<std::uint64_t>(&v_)) {
        out += std::to_string(*u);
    } else if (auto d = std::get_if<double>(&v_)) {
        out += std::isfinite(*d) ? exactDouble(*d) : "null";
    } else if (auto s = std::get_if<std::string>(&v_)) {
        writeString(out, *s);
    } else if (auto a = std::get_if<Array>(&v_)) {
        if (a->empty()) {
            out += "[]";
        } else if (isScalarArray(*a)) {
            // Number lists (history, zoom spans) stay on one line.
            out.push_back('[');
            for (std::size_t k = 0; k < a->size(); ++k) {
                if (k) out += ", ";
                (*a)[k].write(out, indent);
            }
            out.push_back(']');
        } else {
            out.push_back('[');
            for (std::size_t k = 0; k < a->size(); ++k) {
                if (k) out.push_back(',');
                newline(out, indent + 1);
                (*a)[k].write(out, indent + 1);
            }
            newline(out, indent);
            out.push_back(']');
        }
    } else if (auto o = std::get_if<Object>(&v_)) {
        if (o->empty()) {
            out += "{}";
            return;
        }
        out.push_back('{');
        for (std::size_t k = 0; k < o->size(); ++k) {
            if (k) out.push_back(',');
            newline(out, indent + 1);
            writeString(out, (*o)[k].first);
            out += ": ";
            (*o)[k].second.write(out, indent + 1);
        }
        newline(out, indent);
        out.push_back('}');
    }
}

void Json::list(std::string& out, const std::string& prefix) const {
    if (auto o = std::get_if<Object>(&v_)) {
        for (const auto& [key, value] : *o) value.list(out, prefix.empty() ? key : prefix + "." + key);
        return;
    }
    if (auto a = std::get_if<Array>(&v_); a && !isScalarArray(*a)) {
        for (std::size_t k = 0; k < a->size(); ++k) (*a)[k].list(out, prefix + "[" + std::to_string(k) + "]");
        return;
    }
    out += prefix;
    out += ": ";
    if (auto str = std::get_if<std::string>(&v_))
        out += *str;
    else
        write(out, 0);
    out += "\n";
}

std::string Json::listing() const {
    std::string out;
    list(out, "");
    return out;
}

std::string Json::dump() const {
    std::string out;
    write(out, 0);
    return out;
}

}  // namespace lyrtool
