// Typed reads of event arguments from the viewer's argument block. An argument is read only
// when its variant holds the expected type, directly or by reference.
#pragma once

#include <windows.h>
#include <oaidl.h>

template <class T> struct EventArgument;

#define VELMORA_EVENT_ARGUMENT(T, type, member, byrefMember)                                       \
    template <> struct EventArgument<T> {                                                          \
        static bool Holds(const VARIANT& v) noexcept {                                             \
            return v.vt == (type) || (v.vt == (VT_BYREF | (type)) && v.byrefMember != nullptr);    \
        }                                                                                          \
        static T Get(const VARIANT& v) noexcept {                                                  \
            return (v.vt & VT_BYREF) ? *v.byrefMember : v.member;                                  \
        }                                                                                          \
    }

VELMORA_EVENT_ARGUMENT(short, VT_I2, iVal, piVal);
VELMORA_EVENT_ARGUMENT(long, VT_I4, lVal, plVal);
VELMORA_EVENT_ARGUMENT(float, VT_R4, fltVal, pfltVal);
VELMORA_EVENT_ARGUMENT(double, VT_R8, dblVal, pdblVal);
VELMORA_EVENT_ARGUMENT(wchar_t*, VT_BSTR, bstrVal, pbstrVal);
VELMORA_EVENT_ARGUMENT(IDispatch*, VT_DISPATCH, pdispVal, ppdispVal);

#undef VELMORA_EVENT_ARGUMENT
