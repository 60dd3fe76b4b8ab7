# The loopback report server of the test is a QTcpServer.
target_link_libraries(tst_errorreport PRIVATE Qt6::Network)
