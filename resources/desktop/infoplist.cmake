# Reads the information keys of the bundle's Info.plist that installing and
# packaging need. A key that is missing stops the configuration.
function(qrl_info_string plist key out)
    string(REGEX MATCH "<key>${key}</key>[ \t\r\n]*<string>([^<]*)</string>" found "${plist}")
    if(NOT found)
        message(FATAL_ERROR "Info.plist has no string for ${key}")
    endif()
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

# The first string of an array key (the document type's extension, MIME type).
function(qrl_info_first plist key out)
    string(REGEX MATCH "<key>${key}</key>[ \t\r\n]*<array>[ \t\r\n]*<string>([^<]*)</string>" found "${plist}")
    if(NOT found)
        message(FATAL_ERROR "Info.plist has no array of strings for ${key}")
    endif()
    set(${out} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()

macro(qrl_read_info_plist path)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${path})
    file(READ ${path} qrl_plist)
    qrl_info_string("${qrl_plist}" CFBundleName QRL_APP_NAME)
    qrl_info_string("${qrl_plist}" CFBundleIdentifier QRL_APP_ID)
    qrl_info_string("${qrl_plist}" CFBundleShortVersionString QRL_VERSION)
    qrl_info_string("${qrl_plist}" CFBundleGetInfoString QRL_INFO_STRING)
    qrl_info_string("${qrl_plist}" CFBundleTypeName QRL_DOCUMENT_TYPE_NAME)
    qrl_info_first("${qrl_plist}" CFBundleTypeExtensions QRL_DOCUMENT_EXTENSION)
    qrl_info_first("${qrl_plist}" CFBundleTypeMIMETypes QRL_MIME_TYPE)
    unset(qrl_plist)
    # The freedesktop icon name of a MIME type: "/" becomes "-".
    string(REPLACE "/" "-" QRL_MIME_ICON "${QRL_MIME_TYPE}")
endmacro()
