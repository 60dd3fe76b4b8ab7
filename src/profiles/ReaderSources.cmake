# The profile reader and its cipher with what they need, for the targets
# that build them on their own (the profilecrypt tool and the fuzz target):
# Qt Core and Nettle are enough.
set(ZENDREL_PROFILE_READER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/TVideoProfile.cpp ${CMAKE_CURRENT_LIST_DIR}/TVideoProfile.h
  ${CMAKE_CURRENT_LIST_DIR}/ProfileCipher.cpp ${CMAKE_CURRENT_LIST_DIR}/ProfileCipher.h
  ${CMAKE_CURRENT_LIST_DIR}/../app/Errors.cpp ${CMAKE_CURRENT_LIST_DIR}/../app/Errors.h)
get_filename_component(ZENDREL_PROFILE_READER_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
