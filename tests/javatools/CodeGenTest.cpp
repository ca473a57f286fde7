#include "JavaToolsSupport.h"

#include "javatools/classview/DeclarationScanner.h"
#include "javatools/codegen/CodeInsertion.h"
#include "javatools/codegen/CodeDeclarations.h"
#include "tests/controller/ControllerSupport.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace quillet::test;

TEST(CodeGenTest, NewClassTexts)
{
    NewClassDeclaration hello;
    hello.isPublic = true;
    hello.name = "Hello";
    hello.extends = true;
    hello.extendsText = "Applet";
    hello.generateConstructor = true;
    hello.generateMain = true;
    EXPECT_EQ(hello.Text(),
              "public class Hello extends Applet \r\n{\r\n\tHello() //Default Constructor\r\n"
              "\t{//TODO::Object member init\r\n\t}\r\n\tpublic static void main(String arguments[])\r\n"
              "\t{//TODO::Add entry code\r\n\t\tHello he = new Hello();\r\n\t}\r\n}");

    NewClassDeclaration x;
    x.name = "X";
    x.generateMain = true;
    EXPECT_NE(x.Text().find("\t\tX x = new X();\r\n"), std::string::npos);

    NewClassDeclaration spaced;
    spaced.name = "My Class";
    EXPECT_EQ(spaced.Validate(), "");
    EXPECT_EQ(spaced.name, "MyClass");
    NewClassDeclaration empty;
    EXPECT_EQ(empty.Validate(), "Please enter class name.");
}

TEST(CodeGenTest, InterfaceMethodVariableAndCatchTexts)
{
    NewInterfaceDeclaration visitor{true, false, "Visitor", true, "Runnable"};
    EXPECT_EQ(visitor.Text(), "public interface Visitor extends Runnable\r\n{\r\n}");
    EXPECT_EQ(NewInterfaceDeclaration().Validate(), "Please enter interface name");

    MethodDeclaration method;
    method.isAbstract = true;
    method.name = "draw";
    EXPECT_EQ(method.Text(), "\tabstract void draw( ) \r\n\t{ //TODO: Add Method Code\r\n\t}\r\n");
    method.isAbstract = false;
    method.isPublic = true;
    method.isPrivate = true;  // the first checked of Private, Public, Protected
    method.throwsException = true;
    method.exception = "IOException";
    EXPECT_EQ(method.Text(), "\tprivate void draw( ) throws IOException\r\n\t{ //TODO: Add Method Code\r\n\t}\r\n");
    EXPECT_EQ(MethodDeclaration().Validate(), "Please enter valid method name");

    MemberVariableDeclaration max{"int", "MAX", false, true, false, true, true};
    EXPECT_EQ(max.Text(), "\tprivate static final int MAX = <value>;\r\n");
    max.isFinal = false;
    EXPECT_EQ(max.Text(), "\tprivate static int MAX;\r\n");
    EXPECT_EQ(MemberVariableDeclaration().Validate(), "Invalid Variable type.");
    EXPECT_EQ((MemberVariableDeclaration{"int"}).Validate(), "Invalid Variable name.");

    TryCatchDeclaration declaration{"Exception", "e"};
    EXPECT_EQ(declaration.Text("foo();"), "try\r\n\t{\r\n\t\tfoo(); \r\n\t}\r\n\tcatch (Exception e)\r\n\t{\r\n"
                                   "\t\t//TODO::add handler code\r\n\t}");
    EXPECT_EQ(TryCatchDeclaration().Validate(), "Please enter exception variable declarator.");
    EXPECT_EQ((TryCatchDeclaration{"", "e"}).Validate(), "Please enter exception class.");
}

TEST(CodeGenTest, InsertionPlacesAndOneUndoStepEach)
{
    RegisterJavaAndHtml();
    const std::string text = "class A {\r\n\tint a;\r\n}\r\nclass B {\r\n}\r\n}";
    auto model = ScrivoModel(text);
    DeclarationScanner::Rebuild(*model);
    ASSERT_EQ(model->Declarations().size(), 2u);

    // A method for the first class goes before the brace nearest above B.
    MethodDeclaration method;
    method.name = "run";
    ASSERT_TRUE(CodeInsertion::InsertMethod(*model, model->Declarations(), 0, method.Text()));
    EXPECT_EQ(WholeText(*model), "class A {\r\n\tint a;\r\n\tvoid run( ) \r\n\t{ //TODO: Add Method Code\r\n\t}\r\n"
                                 "}\r\nclass B {\r\n}\r\n}");
    model->Undo();
    EXPECT_EQ(WholeText(*model), text);

    // A variable of B goes on the line after its opening brace.
    DeclarationScanner::Rebuild(*model);
    ASSERT_TRUE(CodeInsertion::InsertVariable(*model, model->Declarations(), 1, "\tint b;\r\n"));
    EXPECT_EQ(WholeText(*model), "class A {\r\n\tint a;\r\n}\r\nclass B {\r\n\tint b;\r\n}\r\n}");
    model->Undo();
    EXPECT_EQ(WholeText(*model), text);

    // A class starts on a line of its own after the last line's brace.
    ASSERT_TRUE(CodeInsertion::Append(*model, "class C\r\n{\r\n}"));
    EXPECT_EQ(WholeText(*model), text + "\r\nclass C\r\n{\r\n}");
    model->Undo();
    EXPECT_EQ(WholeText(*model), text);
    EXPECT_EQ(model->UndoCount(), 0u);

    // Generated text takes the text's line ends: a new text's are LF.
    auto empty = ScrivoModel("");
    ASSERT_TRUE(CodeInsertion::Append(*empty, "class D\r\n{\r\n}"));
    EXPECT_EQ(WholeText(*empty), "class D\n{\n}");
    DeclarationScanner::Rebuild(*empty);
    ASSERT_TRUE(CodeInsertion::InsertMethod(*empty, empty->Declarations(), 0, method.Text()));
    EXPECT_EQ(WholeText(*empty), "class D\n{\n\tvoid run( ) \n\t{ //TODO: Add Method Code\n\t}\n}");
}

TEST(CodeGenTest, TryCatchReplacesTheSelectionWithTheBlockThatHoldsIt)
{
    ControllerFixture fixture;
    const std::string text = "\tfoo();\r\n\tbar();";
    fixture.SetText(text);
    fixture.controller.SetSelection(VxEditLineCol(0, 1), VxEditLineCol(0, 7), 1);
    CodeInsertion::InsertTryCatch(fixture.controller, "Exception", "e");
    EXPECT_EQ(fixture.Text(), "\ttry\r\n\t{\r\n\t\tfoo(); \r\n\t}\r\n\tcatch (Exception e)\r\n\t{\r\n"
                              "\t\t//TODO::add handler code\r\n\t}\r\n\tbar();");
    fixture.model->Undo();
    EXPECT_EQ(fixture.Text(), text);

    // Without a selection the block goes in at the caret.
    fixture.controller.CancelSelection();
    fixture.controller.SetCaret(1, 7);
    CodeInsertion::InsertTryCatch(fixture.controller, "Exception", "e");
    EXPECT_EQ(fixture.Text(), text + "try\r\n\t{\r\n\t\t//TODO::method calls\r\n\t}\r\n\tcatch (Exception e)\r\n\t{\r\n"
                                     "\t\t//TODO::add handler code\r\n\t}");
    // In a text with LF line ends the block has LF line ends.
    fixture.SetText("\tfoo();\n");
    fixture.controller.SetSelection(VxEditLineCol(0, 1), VxEditLineCol(0, 7), 1);
    CodeInsertion::InsertTryCatch(fixture.controller, "Exception", "e");
    EXPECT_EQ(fixture.Text(), "\ttry\n\t{\n\t\tfoo(); \n\t}\n\tcatch (Exception e)\n\t{\n"
                              "\t\t//TODO::add handler code\n\t}\n");
}

TEST(CodeGenTest, GeneratedClassCompilesWithJavac)
{
    RegisterJavaAndHtml();
    auto model = ScrivoModel("");
    NewClassDeclaration declaration;
    declaration.isPublic = true;
    declaration.name = "Greeter";
    declaration.generateMain = true;
    declaration.generateConstructor = true;
    ASSERT_TRUE(CodeInsertion::Append(*model, declaration.Text()));
    DeclarationScanner::Rebuild(*model);
    ASSERT_EQ(model->Declarations().size(), 1u);
    MethodDeclaration method;
    method.isPublic = true;
    method.name = "greet";
    ASSERT_TRUE(CodeInsertion::InsertMethod(*model, model->Declarations(), 0, method.Text()));
    MemberVariableDeclaration variable{"String", "name"};
    variable.isPrivate = true;
    ASSERT_TRUE(CodeInsertion::InsertVariable(*model, model->Declarations(), 0, variable.Text()));

    TempDir dir;
    ASSERT_EQ(model->SaveFile(dir.File("Greeter.java")), 1);
    const ProcessResult javac = RunProcess({"javac", "-Xlint:all", "-d", dir.File("out"), dir.File("Greeter.java")});
    ASSERT_TRUE(javac.started);
    EXPECT_EQ(javac.exitStatus, 0) << javac.err << "\n" << WholeText(*model);
}
