/* The plug-in library is made of the whole relay_core archive; CMake needs one source. */
