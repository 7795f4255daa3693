#include "probe_security.h"

#include <aclapi.h>
#include <sddl.h>

namespace probe {
namespace {

std::wstring sidText(PSID sid) {
    if (!sid) return L"";
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(sid, &text)) return L"?";
    std::wstring result = text;
    LocalFree(text);
    return result;
}

// The SID inside an access entry of one of the kinds that carry it right after the mask.
PSID entrySid(ACE_HEADER* header) {
    switch (header->AceType) {
        case ACCESS_ALLOWED_ACE_TYPE:
        case ACCESS_DENIED_ACE_TYPE:
            return &reinterpret_cast<ACCESS_ALLOWED_ACE*>(header)->SidStart;
        default:
            return nullptr;
    }
}

}  // namespace

int securityCommand(const std::wstring& path) {
    JsonLine line;
    line.text("path", path);
    PSID owner = nullptr;
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD error = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                                        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                        &owner, nullptr, &acl, nullptr, &descriptor);
    if (error != ERROR_SUCCESS) return withError(line, "GetNamedSecurityInfo", error);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    line.text("owner", sidText(owner)).flag("protected", (control & SE_DACL_PROTECTED) != 0);
    std::string entries = "[";
    for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
        void* ace = nullptr;
        if (!GetAce(acl, i, &ace)) continue;
        auto* header = static_cast<ACE_HEADER*>(ace);
        JsonLine entry;
        entry.number("type", header->AceType)
            .number("flags", header->AceFlags)
            .hex32("mask", reinterpret_cast<ACCESS_ALLOWED_ACE*>(header)->Mask)
            .text("sid", sidText(entrySid(header)));
        std::string text = entry.body();
        entries += (i ? ", " : "") + text;
    }
    line.raw("entries", entries + "]");
    if (!acl) line.null("acl");
    LocalFree(descriptor);
    line.print();
    return kOk;
}

int grantCommand(const std::wstring& path, const std::wstring& sidString, DWORD mask) {
    JsonLine line;
    line.text("path", path).text("sid", sidString);
    PSID sid = nullptr;
    if (!ConvertStringSidToSidW(sidString.c_str(), &sid))
        return withError(line, "ConvertStringSidToSid", GetLastError());
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD error = GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                        nullptr, nullptr, &acl, nullptr, &descriptor);
    PACL changed = nullptr;
    if (error == ERROR_SUCCESS) {
        EXPLICIT_ACCESSW access = {};
        access.grfAccessPermissions = mask;
        access.grfAccessMode = GRANT_ACCESS;
        access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
        access.Trustee.ptstrName = static_cast<LPWSTR>(sid);
        error = SetEntriesInAclW(1, &access, acl, &changed);
    }
    if (error == ERROR_SUCCESS) {
        error =
            SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                  DACL_SECURITY_INFORMATION, nullptr, nullptr, changed, nullptr);
    }
    LocalFree(changed);
    LocalFree(descriptor);
    LocalFree(sid);
    if (error != ERROR_SUCCESS) return withError(line, "SetNamedSecurityInfo", error);
    line.hex32("mask", mask).flag("granted", true).print();
    return kOk;
}

}  // namespace probe
