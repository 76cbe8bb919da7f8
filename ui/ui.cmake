# AGG's FreeType font engine is a static library that calls FreeType. With the
# linker's --as-needed default, FreeType must appear after it on the link line;
# the plain flag is not merged with the earlier Freetype::Freetype entry.
target_link_libraries(relay_core PUBLIC -lfreetype)
