# cmake -DFROM=folder -DTO=folder -P copy_field_images.cmake
# Copies the pictures of a native build's images/ (which also holds CMake's own files).
file(GLOB pictures "${FROM}/*.gif")
if(NOT pictures)
  message(FATAL_ERROR "no field images in ${FROM}: build zelk_field_images natively first")
endif()
file(COPY ${pictures} DESTINATION "${TO}")
