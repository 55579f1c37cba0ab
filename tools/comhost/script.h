// The comhost script language: one statement per line, ' starts a comment.
//
//   Set img = CreateObject("VrnImagingCom2.vrnImaging2")   create an object by ProgID or {CLSID}
//   Set other = img                                       another name for an object
//   img.CreateImage 640, 480, 8, icGray                   call a method (parentheses optional)
//   img.Compression = 5                                   put a property
//   Print img.ImageWidth                                  print a result, property or value
//
// Values: integers, reals, "strings" ("" inside is one quote), True, False, Nothing,
// Bytes("0a0bff"), enumeration names from the type library, and object names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace comhost {

struct Value {
    enum Kind { Integer, Real, String, Boolean, Bytes, Name, Nothing } kind = Integer;
    std::int64_t integer = 0;
    double real = 0;
    bool boolean = false;
    std::string text;                // String (UTF-8) or Name
    std::vector<std::uint8_t> bytes;
};

struct Call {
    std::string object;
    std::string member;
    std::vector<Value> args;
};

struct Statement {
    enum Kind { Empty, Create, Assign, Invoke, Put, Print } kind = Empty;
    std::string target;  // Create and Assign: the name being set
    std::string prog_id; // Create
    bool is_call = false;  // Assign and Print: call holds a member call, else value a plain value
    Call call;           // Invoke, Put (args[0] is the new value), and Assign or Print when is_call
    Value value;         // Assign and Print when !is_call
};

struct ParseResult {
    std::optional<Statement> statement;
    std::string error;  // when statement is empty
};

ParseResult parse_statement(std::string_view line);

} // namespace comhost
