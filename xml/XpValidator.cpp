#include "xml/XpValidator.h"

#include "xml/XpDtdIndex.h"
#include "xml/XpNames.h"
#include "xml/XpObjModel.h"
#include "xml/XpParser.h"

#include <cstdarg>

namespace stellik {

namespace {

void SilentValidity(void*, const char*, ...) {}

class TValidator {
public:
    TValidator(xmlDoc* doc, const std::function<void(int, TXpNode, bool&)>& report,
               const std::function<void(TXpNode)>& prepare)
        : Dtd(doc), Report(report), Prepare(prepare) {
        Context.error = SilentValidity;
        Context.warning = SilentValidity;
    }

    bool Problem(int code, TXpNode node) {
        Valid = false;
        if (!Stopped && Report) {
            Report(code, node, Stopped);
        }
        return Stopped;
    }

    // Pre-order walk without recursion: documents may be deep as well as long. Once stopped
    // the walk goes on only to prepare the elements left.
    void Walk(xmlNode* root) {
        xmlNode* node = root;
        while (node && (!Stopped || Prepare)) {
            if (node->type == XML_ELEMENT_NODE) {
                if (Prepare) {
                    Prepare(TXpNode(node));
                }
                if (!Stopped) {
                    CheckElement(node);
                }
                if (node->children) {
                    node = node->children;
                    continue;
                }
            }
            while (node && node != root && !node->next) {
                node = node->parent;
            }
            if (!node || node == root) {
                break;
            }
            node = node->next;
        }
    }

    bool Valid = true;
    bool Stopped = false;

private:
    void CheckElement(xmlNode* element) {
        // A child that its parent's mixed content does not allow is reported at the child,
        // so that problems come in document order.
        xmlNode* parent = element->parent;
        if (parent && parent->type == XML_ELEMENT_NODE) {
            const TXpElementDecl* parentDecl = Dtd.Find(parent);
            if (parentDecl && parentDecl->Decl &&
                parentDecl->Decl->etype == XML_ELEMENT_TYPE_MIXED &&
                !parentDecl->MixedNames.contains(XpQNameView(element, Scratch)) &&
                Problem(vcChildNotAllowed, TXpNode(element))) {
                return;
            }
        }
        const TXpElementDecl* decl = Dtd.Find(element);
        if (!decl || !decl->Decl) {
            Problem(vcElementNotDefined, TXpNode(element));
            return;
        }
        if (CheckAttributes(element, *decl)) {
            return;
        }
        CheckContent(element, *decl);
    }

    // True when validation was stopped.
    bool CheckContent(xmlNode* element, const TXpElementDecl& decl) {
        switch (decl.Decl->etype) {
        case XML_ELEMENT_TYPE_EMPTY:
            if (element->children) {
                return Problem(vcNotEmpty, TXpNode(element));
            }
            return false;
        case XML_ELEMENT_TYPE_ELEMENT:
            return CheckChildren(element, decl.Decl);
        default:
            return false;
        }
    }

    bool CheckChildren(xmlNode* element, xmlElement* decl) {
        if (!decl->contModel && !xmlValidBuildContentModel(&Context, decl)) {
            return Problem(vcBadDtd, TXpNode(element));
        }
        if (!decl->contModel) {
            return Problem(vcBadDtd, TXpNode(element));
        }
        XmlRegExecPtr exec(xmlRegNewExecCtxt(decl->contModel, nullptr, nullptr));
        bool fits = exec != nullptr;
        bool undefinedChild = false;
        for (xmlNode* child = element->children; child && fits; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) {
                undefinedChild = Dtd.Find(child) == nullptr;
                if (!undefinedChild) {
                    // The content model names elements as written, prefix included.
                    const std::string name(XpQNameView(child, Scratch));
                    fits = xmlRegExecPushString(exec.get(), ToXmlChar(name), nullptr) >= 0;
                }
                fits = fits && !undefinedChild;
            } else if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
                // Only white space may stand between the children of element content.
                fits = child->type == XML_TEXT_NODE && xmlIsBlankNode(child);
            }
        }
        if (fits) {
            fits = xmlRegExecPushString(exec.get(), nullptr, nullptr) == 1;
        }
        if (fits) {
            return false;
        }
        return Problem(undefinedChild ? vcUndefinedChild : vcMissingChild, TXpNode(element));
    }

    // True when validation was stopped.
    bool CheckAttributes(xmlNode* element, const TXpElementDecl& decl) {
        for (xmlAttr* attr = element->properties; attr; attr = attr->next) {
            const TXpAttributeDecl* declared = nullptr;
            for (const TXpAttributeDecl& candidate : decl.Attributes) {
                if (XpAttributeNamed(attr, candidate.Decl->prefix, candidate.Decl->name)) {
                    declared = &candidate;
                    break;
                }
            }
            if (!declared) {
                if (Problem(vcUnexpectedAttribute, TXpNode(attr))) {
                    return true;
                }
                continue;
            }
            const xmlAttribute* a = declared->Decl;
            const bool enumerated =
                a->atype == XML_ATTRIBUTE_ENUMERATION || a->atype == XML_ATTRIBUTE_NOTATION;
            const bool fixed = a->def == XML_ATTRIBUTE_FIXED && a->defaultValue;
            if (!enumerated && !fixed) {
                continue;
            }
            const std::string value = XpAttributeValue(attr);
            if (enumerated) {
                bool listed = false;
                for (xmlEnumeration* e = a->tree; e && !listed; e = e->next) {
                    listed = value == FromXmlChar(e->name);
                }
                if (!listed && Problem(vcNotEnumerated, TXpNode(attr))) {
                    return true;
                }
            }
            if (fixed && value != FromXmlChar(a->defaultValue) &&
                Problem(vcFixedValue, TXpNode(attr))) {
                return true;
            }
        }
        for (const TXpAttributeDecl& candidate : decl.Attributes) {
            if (candidate.Decl->def == XML_ATTRIBUTE_REQUIRED && !Has(element, candidate)) {
                const int code = element->properties ? vcRequiredMissing : vcNoAttributes;
                if (Problem(code, TXpNode(element))) {
                    return true;
                }
                if (code == vcNoAttributes) {
                    return false; // one report for an element that has none at all
                }
            }
        }
        return false;
    }

    static bool Has(const xmlNode* element, const TXpAttributeDecl& attribute) {
        for (const xmlAttr* a = element->properties; a; a = a->next) {
            if (XpAttributeNamed(a, attribute.Decl->prefix, attribute.Decl->name)) {
                return true;
            }
        }
        return false;
    }

    TXpDtdIndex Dtd;
    std::string Scratch; // prefixed names are built here
    const std::function<void(int, TXpNode, bool&)>& Report;
    const std::function<void(TXpNode)>& Prepare;
    xmlValidCtxt Context{};
};

} // namespace

bool XpValidate(xmlDoc* doc, bool standaloneDefaults,
                const std::function<void(int, TXpNode, bool&)>& report,
                const std::function<void(TXpNode)>& prepare) {
    TXpEntityGuard guard; // nothing may be fetched while validating either
    TValidator validator(doc, report, prepare);
    xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
    // A problem found before the walk still leaves every element prepared.
    auto stopBeforeWalk = [&] {
        if (prepare && root) {
            validator.Stopped = true;
            validator.Walk(root);
        }
        return false;
    };
    if (!doc) {
        validator.Problem(vcNoDocument, TXpNode());
        return false;
    }
    if (!doc->intSubset && !doc->extSubset) {
        validator.Problem(vcNoDtd, TXpNode());
        return stopBeforeWalk();
    }
    if (!root) {
        validator.Problem(vcNoDocument, TXpNode());
        return false;
    }
    const xmlDtd* dtd = doc->intSubset ? doc->intSubset : doc->extSubset;
    std::string scratch;
    if (XpQNameView(root, scratch) != FromXmlChar(dtd->name) &&
        validator.Problem(vcRootNameMismatch, TXpNode())) {
        return stopBeforeWalk();
    }
    if (doc->standalone == 1 && standaloneDefaults && validator.Problem(vcStandalone, TXpNode())) {
        return stopBeforeWalk();
    }
    validator.Walk(root);
    return validator.Valid;
}

} // namespace stellik
