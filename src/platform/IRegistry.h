// The Windows registry, shaped like the ANSI registry functions of advapi32 (RegCreateKeyExA,
// RegOpenKeyExA, RegCloseKey, RegSetValueExA, RegQueryValueExA, RegDeleteKeyA, RegDeleteValueA,
// RegFlushKey, RegEnumKeyExA, RegEnumValueA). Key names, value names and the data of REG_SZ,
// REG_EXPAND_SZ and REG_MULTI_SZ values are bytes in the system ANSI code page: the registry
// keeps them as Unicode and converts on the way in and out, so a character that the code page
// lacks comes back as "?". Every other type is kept byte for byte.
//
// Like the real functions, every call returns a Win32 status code and never throws.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace plexa {

// An open key: one of the predefined roots or a handle returned by CreateKeyEx or OpenKeyEx.
using RegKey = std::uintptr_t;

// The registry's own numbers. They do not take the Win32 macro names, so that code including
// <windows.h> can include this header too.
namespace reg {

inline constexpr RegKey HkeyClassesRoot = 0x80000000;
inline constexpr RegKey HkeyCurrentUser = 0x80000001;
inline constexpr RegKey HkeyLocalMachine = 0x80000002;

// Status codes.
inline constexpr int32_t ErrorSuccess = 0;
inline constexpr int32_t ErrorFileNotFound = 2;
inline constexpr int32_t ErrorAccessDenied = 5;
inline constexpr int32_t ErrorInvalidHandle = 6;
inline constexpr int32_t ErrorInvalidParameter = 87;
inline constexpr int32_t ErrorBadPathname = 161;
inline constexpr int32_t ErrorMoreData = 234;
inline constexpr int32_t ErrorNoMoreItems = 259;
inline constexpr int32_t ErrorKeyDeleted = 1018;

// Value types.
inline constexpr uint32_t RegNone = 0;
inline constexpr uint32_t RegSz = 1;
inline constexpr uint32_t RegExpandSz = 2;
inline constexpr uint32_t RegBinary = 3;
inline constexpr uint32_t RegDword = 4;
inline constexpr uint32_t RegMultiSz = 7;

// Access rights.
inline constexpr uint32_t KeyQueryValue = 0x0001;
inline constexpr uint32_t KeySetValue = 0x0002;
inline constexpr uint32_t KeyCreateSubKey = 0x0004;
inline constexpr uint32_t KeyEnumerateSubKeys = 0x0008;
inline constexpr uint32_t KeyNotify = 0x0010;
inline constexpr uint32_t KeyCreateLink = 0x0020;
inline constexpr uint32_t Delete = 0x10000;
inline constexpr uint32_t ReadControl = 0x20000;
inline constexpr uint32_t KeyRead = 0x20019;
inline constexpr uint32_t KeyWrite = 0x20006;
inline constexpr uint32_t KeyReadWrite = KeyRead | KeyWrite;  // 0x2001F
inline constexpr uint32_t KeyAllAccess = 0xF003F;

// What CreateKeyEx did.
inline constexpr uint32_t CreatedNewKey = 1;
inline constexpr uint32_t OpenedExistingKey = 2;

// The longest key name (one level of a path), in characters.
inline constexpr std::size_t MaxKeyNameLength = 255;

}  // namespace reg

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens subKey (a path below key, levels separated by "\"), creating every missing level as
    // a non-volatile key with default security. An empty subKey opens a new handle to key
    // itself. disposition (may be null) receives CreatedNewKey or OpenedExistingKey.
    virtual int32_t CreateKeyEx(RegKey key, const std::string& subKey, uint32_t access,
                                RegKey& result, uint32_t* disposition) = 0;
    // Opens an existing key; ErrorFileNotFound when any level is missing.
    virtual int32_t OpenKeyEx(RegKey key, const std::string& subKey, uint32_t access,
                              RegKey& result) = 0;
    virtual int32_t CloseKey(RegKey key) = 0;

    // Writes a value (an empty name is the key's default value). The data of the string types
    // is ANSI text and should include its terminating null, as RegSetValueExA expects.
    virtual int32_t SetValueEx(RegKey key, const std::string& valueName, uint32_t type,
                               std::span<const uint8_t> data) = 0;
    // Reads a value as RegQueryValueExA does. type and size may be null. With data null and size
    // given, *size receives a size large enough for the data (for the string types it may be
    // larger than the ANSI text needs). With data given, *size is the buffer's size on entry
    // and the bytes copied on return; a buffer that is too small gives ErrorMoreData and the
    // needed size in *size.
    virtual int32_t QueryValueEx(RegKey key, const std::string& valueName, uint32_t* type,
                                 uint8_t* data, uint32_t* size) = 0;

    // Deletes a subkey that has no subkeys of its own (ErrorAccessDenied otherwise). The access
    // rights of key do not matter, as with RegDeleteKeyA.
    virtual int32_t DeleteKey(RegKey key, const std::string& subKey) = 0;
    virtual int32_t DeleteValue(RegKey key, const std::string& valueName) = 0;
    virtual int32_t FlushKey(RegKey key) = 0;

    // The name of the subkey at a zero-based index. *nameSize is the buffer's size in
    // characters, with room for the terminating null, on entry; the characters copied, without
    // the null, on return. ErrorMoreData when the name does not fit; ErrorNoMoreItems past the
    // last subkey.
    virtual int32_t EnumKeyEx(RegKey key, uint32_t index, char* name, uint32_t* nameSize) = 0;
    // The value at a zero-based index: its name as with EnumKeyEx, and optionally its type and
    // data as with QueryValueEx.
    virtual int32_t EnumValue(RegKey key, uint32_t index, char* name, uint32_t* nameSize,
                              uint32_t* type, uint8_t* data, uint32_t* dataSize) = 0;
};

}  // namespace plexa
