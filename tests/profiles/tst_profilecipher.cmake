# The cipher test also runs the developer tool.
add_dependencies(tst_profilecipher profilecrypt)
target_compile_definitions(tst_profilecipher PRIVATE PROFILECRYPT_PATH="$<TARGET_FILE:profilecrypt>")
